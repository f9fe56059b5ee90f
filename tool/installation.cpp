#include "installation.h"

#include "install_log.h"
#include "os.h"
#include "product.h"
#include "registry.h"

namespace {

// The uninstall entry's command: the installed tool without arguments.  The
// path is quoted, so that the system's list of installed programs can never
// start "C:\Program.exe" in its stead.
const char UninstallCommand[] = "\"C:\\Program Files\\Orvola\\REMOVE.EXE\"";

const char InstallLogName[] = "REMOVE.DAT";

// The product's files in the install directory, as the log lists them.
const char* const InstalledFiles[] = {
    "\\DV2.EXE",
    "\\DV2.RTF",
    "\\Orvola.lnk",
    // "\Něco jako manuál.lnk"
    "\\N\xEC" "co jako manu\xE1l.lnk",
    "\\REMOVE.EXE",
    "\\REMOVE.DAT",
    "\\DV.EXE",
    "\\DV.RTF",
};

const char ProgramsFolder[] = "programs";
const char StartupFolder[] = "startup";
const char MainShortcut[] = "Orvola.lnk";
// In the Start menu the main shortcut's name begins with a blank, which
// puts it before the manual.
const char MainShortcutInStartMenu[] = " Orvola.lnk";
// "Něco jako manuál.lnk"
const char ManualShortcut[] = "N\xEC" "co jako manu\xE1l.lnk";

const char InstallCaption[] = "Instalace programu Orvola";
// "Chcete vytvořit zástupce programu Orvola ve složce "Po spuštění"?"
const char StartupQuestion[] =
    "Chcete vytvo\xF8it z\xE1stupce programu Orvola ve slo\x9E" "ce \"Po spu\x9At\xEC" "n\xED\"?";
// "Instalace úspěšně dokončena."
const char SuccessText[] = "Instalace \xFAsp\xEC\x9An\xEC dokon\xE8" "ena.";
// "Instalce dokončena – některé soubory či zástupce však bohužel nebylo
// možno nainstalovat."
const char PartialFailureText[] =
    "Instalce dokon\xE8" "ena \x96 n\xEC" "kter\xE9 soubory \xE8i z\xE1stupce v\x9A" "ak "
    "bohu\x9E" "el nebylo mo\x9Eno nainstalovat.";

}  // namespace

void InstallMain() {
  // 1. the uninstall entry; the log is not open yet, so it has no "R" line
  // (the removal deletes the entry itself), and its result does not count
  RegisterUninstallEntry(ProductName, ProductName, UninstallCommand);

  // 2.-3. the log, with the install directory and the product's files
  bool success = OpenInstallLog(InstallLogName, true);
  if (LoggingOn) {
    WriteLogText(std::string("D") + InstallDirectory);
    EndLogLine();
    for (const char* file : InstalledFiles) {
      WriteLogText(std::string("F") + InstallDirectory + file);
      EndLogLine();
    }
  }

  // 4.-5. the Start-menu subfolder and its two shortcuts
  const std::string startMenu = EnsureShellSubfolder(ProgramsFolder, ProductName);
  if (!startMenu.empty()) {
    success = CopyFileLogged(MainShortcut, startMenu + MainShortcutInStartMenu) && success;
    success = CopyFileLogged(ManualShortcut, startMenu + ManualShortcut) && success;
  } else {
    success = false;
  }

  // 6. the Startup shortcut, if the user wants the texts at every log-on
  if (os::MessageBoxA(0, StartupQuestion, InstallCaption, os::MbYesNo) == os::IdYes) {
    const std::string startup = GetShellFolder(StartupFolder);
    if (!startup.empty())
      success = CopyFileLogged(MainShortcut, startup + MainShortcut) && success;
    else
      success = false;
  }

  // 7. a log whose text did not all reach the disk would leave things
  // behind at the removal: that is a partial failure too
  if (LoggingOn) success = CloseInstallLog() && success;

  // 8.
  if (success)
    os::MessageBoxA(0, SuccessText, InstallCaption, os::MbOk);
  else
    os::MessageBoxA(0, PartialFailureText, InstallCaption, os::MbIconWarning);
}
