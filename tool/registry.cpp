#include "registry.h"

#include "install_log.h"
#include "os.h"
#include "paths.h"

namespace {

const char UninstallKeys[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char ShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// how the install log names a key below HKEY_LOCAL_MACHINE
const char LocalMachineEntry[] = "RHKLM\\";

// A folder path is read into this many bytes, its NUL included.
constexpr std::uint32_t FolderBufferSize = 255;

// A text as a REG_SZ value holds it: its bytes and one NUL.
bool SetTextValue(os::Hkey key, const std::string& name, const std::string& text) {
  return os::RegSetValueExA(key, name, os::RegSz, text + '\0') == os::ErrorSuccess;
}

}  // namespace

bool RegisterUninstallEntry(const std::string& keyName, const std::string& displayName,
                            const std::string& command) {
  const std::string keyPath = UninstallKeys + keyName;
  os::Hkey key = 0;
  if (os::RegCreateKeyExA(os::HkeyLocalMachine, keyPath, os::RegOptionNonVolatile, os::KeyWrite,
                          key) != os::ErrorSuccess)
    return false;
  if (LoggingOn) {
    WriteLogText(LocalMachineEntry + keyPath);
    EndLogLine();
  }
  const bool written = SetTextValue(key, "DisplayName", displayName) &&
                       SetTextValue(key, "UninstallString", command);
  os::RegCloseKey(key);
  return written;
}

bool DeleteUninstallEntry(const std::string& keyName) {
  return os::RegDeleteKeyA(os::HkeyLocalMachine, UninstallKeys + keyName) == os::ErrorSuccess;
}

std::string GetShellFolder(const std::string& valueName) {
  os::Hkey key = 0;
  if (os::RegOpenKeyExA(os::HkeyCurrentUser, ShellFolders, os::KeyRead, key) != os::ErrorSuccess)
    return std::string();
  char data[FolderBufferSize];
  std::uint32_t size = sizeof data;
  const std::int32_t status = os::RegQueryValueExA(key, valueName, data, size);
  os::RegCloseKey(key);
  if (status != os::ErrorSuccess || size > sizeof data) return std::string();
  // The text ends at its NUL.  A value stored without one is taken whole
  // rather than losing its last letter, and one stored with more than one
  // does not carry NULs into the paths made from it.
  std::string folder(data, size);
  folder.resize(folder.find('\0') == std::string::npos ? folder.size() : folder.find('\0'));
  // an empty value names no folder (not the root of the current drive)
  if (folder.empty()) return std::string();
  return folder + "\\";
}

std::string EnsureShellSubfolder(const std::string& valueName, const std::string& subfolder) {
  const std::string folder = GetShellFolder(valueName);
  if (folder.empty()) return std::string();
  const std::string path = folder + subfolder;
  if (PathExists(path)) return path + "\\";
  return CreateDirLogged(path) ? path + "\\" : std::string();
}
