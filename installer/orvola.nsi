; Setup of Orvola 2002, in Czech.
;
; Puts the programs and the manual into the fixed install folder, creates
; there the two prepared shortcut files, and has REMOVE.EXE /INSTALL complete
; the installation: the uninstall entry, the install log REMOVE.DAT and the
; shortcuts in the Start menu and Startup.  The setup writes no uninstaller
; and no uninstall entry of its own; REMOVE.EXE is both.
;
;   makensis -INPUTCHARSET UTF8 -DRELEASE=<folder> -DOUTFILE=<setup.exe> orvola.nsi
;
; where <folder> holds DV2.EXE, DV2.RTF and REMOVE.EXE.

Unicode true
RequestExecutionLevel admin
ManifestSupportedOS all
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef RELEASE
  !error "RELEASE must name the folder that holds DV2.EXE, DV2.RTF and REMOVE.EXE"
!endif
!ifndef OUTFILE
  !define OUTFILE "orvola-2002-setup.exe"
!endif

; The folder that the install log's entries and the uninstall command name.
; It is fixed: not $PROGRAMFILES, which for a 32-bit setup on 64-bit Windows
; is "Program Files (x86)".
!define INSTALL_FOLDER "C:\Program Files\Orvola"

Name "Orvola 2002"
Caption "Instalace programu Orvola 2002"
OutFile "${OUTFILE}"
InstallDir "${INSTALL_FOLDER}"
BrandingText "Orvola 2002"
ShowInstDetails show
; the last word is REMOVE.EXE's own box; the window stays open only when
; the setup was stopped
AutoCloseWindow true

!include MUI2.nsh
!include LogicLib.nsh

!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Instalace programu Orvola 2002"
!define MUI_WELCOMEPAGE_TEXT "Orvola ukazuje na každý den roku 2002 verš ze Starého a verš z Nového zákona a potom vaše připomínky ze souboru DIAR.TXT.$\r$\n$\r$\nProgram se nainstaluje do složky ${INSTALL_FOLDER}. Na konci se instalace zeptá, zda se má Orvola spouštět při přihlášení do Windows.$\r$\n$\r$\nJe-li Orvola právě spuštěná, zavřete nejprve její okna.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

VIProductVersion "2002.0.0.0"
VIFileVersion "2002.0.0.0"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductName" "Orvola"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductVersion" "2002"
VIAddVersionKey /LANG=${LANG_CZECH} "CompanyName" "Orvola"
VIAddVersionKey /LANG=${LANG_CZECH} "LegalCopyright" "Orvola"
VIAddVersionKey /LANG=${LANG_CZECH} "FileDescription" "Instalace programu Orvola 2002"
VIAddVersionKey /LANG=${LANG_CZECH} "FileVersion" "2002"
VIAddVersionKey /LANG=${LANG_CZECH} "OriginalFilename" "orvola-2002-setup.exe"

Function .onInit
  ; /D= on the command line cannot move the installation elsewhere
  StrCpy $INSTDIR "${INSTALL_FOLDER}"
  ; the manifest asks for administrator rights; a system that starts the
  ; setup without them (no UAC) is told so instead of failing halfway
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "Instalace programu Orvola potřebuje práva správce počítače. Spusťte ji prosím jako správce." /SD IDOK
    SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
FunctionEnd

Section "Orvola"
  SetShellVarContext current

  ; A file in use (a viewer still showing its boxes) gets the usual
  ; question: stop, try again or skip it.
  SetOverwrite on
  SetOutPath "$INSTDIR"
  File "${RELEASE}/DV2.EXE"
  File "${RELEASE}/DV2.RTF"
  File "${RELEASE}/REMOVE.EXE"

  ; The prepared shortcut files that REMOVE.EXE copies into the Start menu
  ; and Startup as they are.  A shortcut's working folder is the output
  ; folder at its creation: the viewer runs in the user's Documents, where
  ; it finds DIAR.TXT.
  SetOutPath "$DOCUMENTS"
  CreateShortcut "$INSTDIR\Orvola.lnk" "$INSTDIR\DV2.EXE" "" "" 0 SW_SHOWNORMAL "" "Verdika na každý den roku 2002"
  SetOutPath "$INSTDIR"
  CreateShortcut "$INSTDIR\Něco jako manuál.lnk" "$INSTDIR\DV2.RTF" "" "" 0 SW_SHOWNORMAL "" "Orvola 2002 – něco jako manuál"

  ; REMOVE.EXE completes the installation in its own folder, asks its own
  ; question and reports the outcome in its own box.
  ClearErrors
  ExecWait '"$INSTDIR\REMOVE.EXE" /INSTALL'
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Instalaci se nepodařilo dokončit: program $INSTDIR\REMOVE.EXE nelze spustit." /SD IDOK
    Abort "Program REMOVE.EXE nelze spustit."
  ${EndIf}
SectionEnd
