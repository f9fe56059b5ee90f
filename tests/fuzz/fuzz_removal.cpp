// The removal executor on a log of any bytes: it removes nothing the log
// does not name.  Every file, directory and registry key that is gone after
// the run is what one of the log's lines names (as Windows resolves the
// path), and the run ends with its one summary box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "host.h"
#include "os.h"
#include "removal.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

const char* const Files[] = {
    "C:\\Program Files\\Orvola\\DV2.EXE",       "C:\\Program Files\\Orvola\\DV2.RTF",
    "C:\\Program Files\\Orvola\\REMOVE.EXE",    "C:\\Program Files\\Orvola\\REMOVE.DAT",
    "C:\\Program Files\\Orvola\\Orvola.lnk",    "C:\\Program Files\\Orvola\\sub\\keep.txt",
    "C:\\Program Files\\Other\\other.exe",      "C:\\Users\\Jan\\Documents\\DIAR.TXT",
    "C:\\Users\\Jan\\Start Menu\\Orvola\\ Orvola.lnk", "C:\\Windows\\WININIT.INI",
    "C:\\Temp\\~REMOVE.TMP",
};
const char* const Keys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvola",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other",
    "Software\\Orvola",
};

// Everything on drive C:, as paths on this machine.
std::set<std::string> Inventory() {
  std::set<std::string> items;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SandboxRoot() + "/C"))
    items.insert(entry.path().string());
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::filesystem::remove_all(SandboxRoot() + "/C");
  host::Reset(SandboxRoot());
  for (const char* file : Files) host::PutFile(file, "x");
  for (const char* key : Keys) host::SetRegistryValue(os::HkeyLocalMachine, key, "v", os::RegSz, "x");
  const std::string log(reinterpret_cast<const char*>(data), size);
  host::PutFile("C:\\Temp\\~REMOVE.DAT", log);
  host::SetModuleFileName("C:\\Temp\\~REMOVE.TMP");
  host::SetCommandLine("\"C:\\Temp\\~REMOVE.TMP\" /REMOVE");
  host::SetCurrentDirectory("C:\\Program Files\\Orvola");
  host::SetClockStep(1);
  const std::set<std::string> before = Inventory();
  const std::vector<std::string> keysBefore = host::RegistryKeys(os::HkeyLocalMachine);

  RemoveMain();

  // what the lines name, resolved as the executor's paths were
  std::set<std::string> named;
  std::set<std::string> namedKeys;
  std::size_t start = 0;
  while (start <= log.size()) {
    std::size_t end = log.find_first_of("\r\n", start);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(start, end - start);
    start = end + 1;
    // a name with a NUL in it names nothing: the system would stop reading
    // it at the NUL
    if (line.find('\0') != std::string::npos) continue;
    if (line.size() > 1 && (line[0] == 'D' || line[0] == 'F'))
      named.insert(Lower(host::HostPath(line.substr(1))));
    if (line.size() > 6 && line.compare(0, 6, "RHKLM\\") == 0) namedKeys.insert(Lower(line.substr(6)));
  }
  for (const std::string& item : before)
    if (!std::filesystem::exists(item)) {
      if (named.count(Lower(item)) != 1) std::fprintf(stderr, "removed unlisted: %s\n", item.c_str());
      Check(named.count(Lower(item)) == 1);
    }
  std::vector<std::string> keysAfter = host::RegistryKeys(os::HkeyLocalMachine);
  for (const std::string& key : keysBefore) {
    bool kept = false;
    for (const std::string& after : keysAfter) kept = kept || Lower(after) == Lower(key);
    if (!kept) Check(namedKeys.count(Lower(key)) == 1);
  }
  Check(host::Boxes().size() == 1);
  Check(host::OpenHandleCount() == 0);
  return 0;
}
