// Jan's Windows machine for the install and remove tool, on drive C: of a
// fresh sandbox: the product's files in the install directory (the tool
// started there as the distribution starts it), his Start menu and Startup
// folders in the registry and on disk, TEMP and WINDIR in the environment,
// and another program's uninstall entry beside ours.
#pragma once

#include <string>
#include <vector>

#include "os.h"
#include "sandbox.h"

namespace machine {

// Inline, so that the constants of a test file built from them are made
// after them.
inline const char InstallDirectory[] = "C:\\Program Files\\Orvola";
inline const char Tool[] = "C:\\Program Files\\Orvola\\REMOVE.EXE";
inline const char InstallLog[] = "C:\\Program Files\\Orvola\\REMOVE.DAT";
// the Start menu's program folder, the product's subfolder in it, Startup
inline const std::string Programs =
    "C:\\Users\\Jan\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
inline const std::string StartMenu = Programs + "\\Orvola";
inline const std::string Startup = Programs + "\\Startup";
inline const char Temp[] = "C:\\Users\\Jan\\AppData\\Local\\Temp";
inline const char Windows[] = "C:\\Windows";
inline const std::string Wininit = std::string(Windows) + "\\WININIT.INI";
inline const std::string RemovalCopy = std::string(Temp) + "\\~REMOVE.TMP";
inline const std::string LogCopy = std::string(Temp) + "\\~REMOVE.DAT";
// below HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER
inline const char UninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvola";
inline const char ShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline const std::string ManualName = Cp("Něco jako manuál.lnk");

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
