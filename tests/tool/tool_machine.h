// Jan's Windows machine for the install and remove tool, on drive C: of a
// fresh sandbox: the product's files in the install directory (the tool
// started there as the distribution starts it), his Start menu and Startup
// folders in the registry and on disk, TEMP and WINDIR in the environment,
// and another program's uninstall entry beside ours.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "os.h"
#include "sandbox.h"

namespace machine {

extern const char InstallDirectory[];   // C:\Program Files\Orvola
extern const char Tool[];               // ...\REMOVE.EXE
extern const char InstallLog[];         // ...\REMOVE.DAT
extern const std::string Programs;      // the Start menu's program folder
extern const std::string StartMenu;     // Programs\Orvola
extern const std::string Startup;
extern const char Temp[];
extern const char Windows[];
extern const std::string Wininit;       // Windows\WININIT.INI
extern const std::string RemovalCopy;   // Temp\~REMOVE.TMP
extern const std::string LogCopy;       // Temp\~REMOVE.DAT
extern const char UninstallKey[];       // below HKEY_LOCAL_MACHINE
extern const char ShellFoldersKey[];    // below HKEY_CURRENT_USER
extern const std::string ManualName;    // "Něco jako manuál.lnk" in Windows-1250

// The files the distribution puts into the install directory: name and
// bytes.
const std::vector<std::pair<std::string, std::string>>& ShippedFiles();

}  // namespace machine

class ToolMachine : public Sandbox {
 protected:
  void SetUp() override;

  // The machine as new again, for the next case of a table.
  void Restart();

  // Runs the tool as started with this text after its quoted path.
  void RunTool(const std::string& arguments);
  // Runs the program that the tool started last, as the second process.
  void RunStartedProcess();

  // The environment of Jan's session, with these entries instead of the
  // ones of the same name (an entry "NAME" alone removes NAME).
  static void SetEnvironmentWith(const std::vector<std::string>& changes);

  // The bytes of a file, or "<none>" when there is none.
  static std::string File(const std::string& windowsPath);
  // The text of a REG_SZ value as stored, its NUL included; "<none>".
  static std::string Value(os::Hkey root, const std::string& key, const std::string& name);

  // Every file and directory on drive C: (directories end in "\"), and
  // every registry key, to compare the machine before and after.
  std::vector<std::string> Everything() const;

  // The boxes shown since the last call.
  std::vector<host::Box> NewBoxes();

 private:
  void Prepare();
  std::size_t boxesSeen = 0;
};
