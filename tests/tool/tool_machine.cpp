#include "tool_machine.h"

#include <algorithm>
#include <filesystem>

#include "tool_main.h"

namespace machine {

const std::vector<std::pair<std::string, std::string>>& ShippedFiles() {
  static const std::vector<std::pair<std::string, std::string>> files = {
      {"DV2.EXE", "MZ viewer of 2002"},
      {"DV2.RTF", "{\\rtf1 manual of 2002}"},
      {"Orvola.lnk", "shortcut to DV2.EXE"},
      {ManualName, "shortcut to DV2.RTF"},
      {"REMOVE.EXE", "MZ install and remove tool"},
      {"DV.EXE", "MZ viewer of 2001"},
      {"DV.RTF", "{\\rtf1 manual of 2001}"},
  };
  return files;
}

}  // namespace machine

namespace {

const std::vector<std::string> JansEnvironment = {
    "=C:=C:\\Program Files\\Orvola",
    "ComSpec=C:\\Windows\\system32\\cmd.exe",
    "Path=C:\\Windows\\system32;C:\\Windows",
    std::string("TEMP=") + machine::Temp,
    std::string("TMP=") + machine::Temp,
    "USERNAME=Jan",
    "USERPROFILE=C:\\Users\\Jan",
    std::string("windir=") + machine::Windows,
};

}  // namespace

void ToolMachine::SetUp() {
  Sandbox::SetUp();
  Prepare();
}

void ToolMachine::Restart() {
  std::error_code ignored;
  std::filesystem::remove_all(root + "/C", ignored);
  host::Reset(root);
  boxesSeen = 0;
  Prepare();
}

void ToolMachine::Prepare() {
  using namespace machine;
  for (const auto& file : ShippedFiles())
    host::PutFile(std::string(InstallDirectory) + "\\" + file.first, file.second);
  host::PutFile(std::string(Windows) + "\\system32\\cmd.exe", "MZ command prompt");
  host::PutFile(std::string(Temp) + "\\other.tmp", "another program's");
  host::PutFile(Programs + "\\Accessories\\Notepad.lnk", "shortcut to notepad");
  host::PutFile(Startup + "\\desktop.ini", "[.ShellClassInfo]");
  host::SetRegistryValue(os::HkeyCurrentUser, ShellFoldersKey, "Programs", os::RegSz,
                         Programs + '\0');
  host::SetRegistryValue(os::HkeyCurrentUser, ShellFoldersKey, "Startup", os::RegSz,
                         Startup + '\0');
  host::SetRegistryValue(os::HkeyLocalMachine,
                         "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kalkulacka",
                         "DisplayName", os::RegSz, std::string("Kalkulacka") + '\0');
  SetEnvironmentWith({});
  host::SetCurrentDirectory(InstallDirectory);
  host::SetModuleFileName(Tool);
  // the removal's wait ends: every reading of the clock takes a millisecond
  host::SetLocalTime(2002, 3, 15, 10, 0);
  host::SetClockStep(1);
}

void ToolMachine::RunTool(const std::string& arguments) {
  host::SetCommandLine(std::string("\"") + machine::Tool + "\"" +
                       (arguments.empty() ? "" : " " + arguments));
  ToolMain();
}

void ToolMachine::RunStartedProcess() {
  ASSERT_FALSE(host::Processes().empty());
  host::BecomeProcess(host::Processes().back());
  ToolMain();
}

void ToolMachine::SetEnvironmentWith(const std::vector<std::string>& changes) {
  std::vector<std::string> entries = JansEnvironment;
  for (const std::string& change : changes) {
    const std::string name = change.substr(0, change.find('='));
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const std::string& e) {
                                   return e.compare(0, name.size() + 1, name + "=") == 0;
                                 }),
                  entries.end());
    if (change.find('=') != std::string::npos) entries.push_back(change);
  }
  host::SetEnvironment(entries);
}

std::string ToolMachine::File(const std::string& windowsPath) {
  std::string bytes;
  return host::GetFile(windowsPath, bytes) ? bytes : "<none>";
}

std::string ToolMachine::Value(os::Hkey root, const std::string& key, const std::string& name) {
  std::string data;
  return host::GetRegistryValue(root, key, name, data) ? data : "<none>";
}

std::vector<std::string> ToolMachine::Everything() const {
  std::vector<std::string> all;
  const std::filesystem::path drive = root + "/C";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(drive)) {
    std::string path = "C:\\" + std::filesystem::relative(entry.path(), drive).string();
    std::replace(path.begin(), path.end(), '/', '\\');
    all.push_back(entry.is_directory() ? path + "\\" : path);
  }
  for (const std::string& key : host::RegistryKeys(os::HkeyLocalMachine))
    all.push_back("HKLM\\" + key);
  for (const std::string& key : host::RegistryKeys(os::HkeyCurrentUser))
    all.push_back("HKCU\\" + key);
  std::sort(all.begin(), all.end());
  return all;
}

std::vector<host::Box> ToolMachine::NewBoxes() {
  const std::vector<host::Box>& boxes = host::Boxes();
  std::vector<host::Box> fresh(boxes.begin() + boxesSeen, boxes.end());
  boxesSeen = boxes.size();
  return fresh;
}
