// The registry simulated in memory: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER,
// key and value names without regard to ASCII case, as on Windows.
#include <map>
#include <memory>

#include "ascii.h"
#include "host.h"
#include "host_internal.h"
#include "os.h"

namespace {

constexpr std::uint32_t KeyQueryValue = 0x0001;  // KEY_QUERY_VALUE
constexpr std::uint32_t KeySetValue = 0x0002;    // KEY_SET_VALUE
constexpr std::uint32_t KeyCreateSubKey = 0x0004;
constexpr std::int32_t ErrorInvalidHandle = 6;
constexpr std::int32_t ErrorKeyDeleted = 1018;

struct Value {
  std::string name;  // as it was first written
  std::uint32_t type;
  std::string data;
};

struct Key {
  std::string name;                                   // as it was created
  std::map<std::string, Value> values;                // by upper-case name
  std::map<std::string, std::unique_ptr<Key>> subkeys;  // by upper-case name
};

// An open key: its root and the upper-case names below it, looked up anew
// on each use so that a key deleted meanwhile is noticed.
struct OpenKey {
  os::Hkey root;
  std::vector<std::string> path;
  std::uint32_t access;
};

struct Registry {
  Key localMachine;
  Key currentUser;
  std::map<os::Hkey, OpenKey> open;
  os::Hkey nextHandle = 0x1000;
  std::vector<os::Hkey> writeDenied;  // roots
  std::size_t calls = 0;
};

Registry& Reg() {
  static Registry registry;
  return registry;
}

Key* RootKey(os::Hkey root) {
  if (root == os::HkeyLocalMachine) return &Reg().localMachine;
  if (root == os::HkeyCurrentUser) return &Reg().currentUser;
  return nullptr;
}

// The names of a key path, without empty ones.  The system receives the
// path as a NUL-terminated string: a NUL ends it.
std::vector<std::string> Names(const std::string& whole) {
  const std::string path = whole.c_str();
  std::vector<std::string> names;
  std::size_t i = 0;
  while (i <= path.size()) {
    std::size_t end = path.find('\\', i);
    if (end == std::string::npos) end = path.size();
    if (end > i) names.push_back(path.substr(i, end - i));
    i = end + 1;
  }
  return names;
}

Key* Find(Key* key, const std::vector<std::string>& upperPath) {
  for (const std::string& name : upperPath) {
    if (key == nullptr) return nullptr;
    auto sub = key->subkeys.find(name);
    key = sub == key->subkeys.end() ? nullptr : sub->second.get();
  }
  return key;
}

// The key a handle stands for, with its root and access; null when it is
// neither a root nor open, or was deleted.
Key* KeyOf(os::Hkey key, os::Hkey& root, std::uint32_t& access, std::int32_t& error) {
  if (Key* rootKey = RootKey(key)) {
    root = key;
    access = ~0u;
    return rootKey;
  }
  auto open = Reg().open.find(key);
  if (open == Reg().open.end()) {
    error = ErrorInvalidHandle;
    return nullptr;
  }
  root = open->second.root;
  access = open->second.access;
  Key* found = Find(RootKey(root), open->second.path);
  if (found == nullptr) error = ErrorKeyDeleted;
  return found;
}

// Where a key handle and a path below it lead: the root, and the upper-case
// names from the root.  False for a handle that is not open.
bool Locate(os::Hkey key, const std::string& subKey, os::Hkey& root,
            std::vector<std::string>& upperPath, std::int32_t& error) {
  std::uint32_t access;
  if (KeyOf(key, root, access, error) == nullptr) return false;
  upperPath = RootKey(key) != nullptr ? std::vector<std::string>() : Reg().open[key].path;
  for (const std::string& name : Names(subKey)) upperPath.push_back(AsciiUpper(name));
  return true;
}

os::Hkey OpenHandle(os::Hkey root, const std::vector<std::string>& upperPath,
                    std::uint32_t access) {
  const os::Hkey handle = Reg().nextHandle;
  Reg().nextHandle += 4;
  Reg().open[handle] = OpenKey{root, upperPath, access};
  return handle;
}

bool Denied(os::Hkey root) { return host::RegistryWritesDenied(root); }

Key* CreatePath(Key* key, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    std::unique_ptr<Key>& sub = key->subkeys[AsciiUpper(name)];
    if (!sub) {
      sub.reset(new Key);
      sub->name = name;
    }
    key = sub.get();
  }
  return key;
}

void ListKeys(const Key& key, const std::string& prefix, std::vector<std::string>& keys) {
  for (const auto& sub : key.subkeys) {
    const std::string path = prefix.empty() ? sub.second->name : prefix + "\\" + sub.second->name;
    keys.push_back(path);
    ListKeys(*sub.second, path, keys);
  }
}

}  // namespace

// ==== Control of the simulation ==================================================

namespace host {

void ResetRegistry() { Reg() = Registry(); }

std::size_t OpenRegistryKeys() { return Reg().open.size(); }

bool RegistryWritesDenied(os::Hkey root) {
  for (os::Hkey denied : Reg().writeDenied)
    if (denied == root) return true;
  return false;
}

void SetRegistryValue(os::Hkey root, const std::string& key, const std::string& name,
                      std::uint32_t type, const std::string& data) {
  Key* target = CreatePath(RootKey(root), Names(key));
  Value& value = target->values[AsciiUpper(name.c_str())];
  if (value.name.empty()) value.name = name.c_str();
  value.type = type;
  value.data = data;
}

bool GetRegistryValue(os::Hkey root, const std::string& key, const std::string& name,
                      std::string& data, std::uint32_t* type) {
  std::vector<std::string> path;
  for (const std::string& part : Names(key)) path.push_back(AsciiUpper(part));
  const Key* found = Find(RootKey(root), path);
  if (found == nullptr) return false;
  auto value = found->values.find(AsciiUpper(name));
  if (value == found->values.end()) return false;
  data = value->second.data;
  if (type != nullptr) *type = value->second.type;
  return true;
}

std::vector<std::string> RegistryKeys(os::Hkey root) {
  std::vector<std::string> keys;
  ListKeys(*RootKey(root), std::string(), keys);
  return keys;
}

void DenyRegistryWrites(os::Hkey root) { Reg().writeDenied.push_back(root); }

std::size_t RegistryCallCount() { return Reg().calls; }

}  // namespace host

// ==== The seam =====================================================================

namespace os {

std::int32_t RegCreateKeyExA(Hkey key, const std::string& subKey, std::uint32_t options,
                             std::uint32_t access, Hkey& result) {
  ++Reg().calls;
  result = 0;
  Hkey root;
  std::vector<std::string> path;
  std::int32_t error = ErrorSuccess;
  if (!Locate(key, subKey, root, path, error)) return error;
  if (options != RegOptionNonVolatile) return ErrorAccessDenied;  // not simulated
  Key* existing = Find(RootKey(root), path);
  // creating a key, or opening one for writing, needs the right to change it
  if ((existing == nullptr || (access & (KeySetValue | KeyCreateSubKey))) && Denied(root))
    return ErrorAccessDenied;
  if (existing == nullptr) {
    // the new keys take the names as the caller wrote them
    const std::vector<std::string> below = Names(subKey);
    Key* base = Find(RootKey(root), std::vector<std::string>(path.begin(),
                                                             path.end() - below.size()));
    CreatePath(base, below);
  }
  result = OpenHandle(root, path, access);
  return ErrorSuccess;
}

std::int32_t RegSetValueExA(Hkey key, const std::string& name, std::uint32_t type,
                            const std::string& data) {
  ++Reg().calls;
  Hkey root;
  std::uint32_t access;
  std::int32_t error = ErrorSuccess;
  Key* target = KeyOf(key, root, access, error);
  if (target == nullptr) return error;
  if (!(access & KeySetValue) || Denied(root)) return ErrorAccessDenied;
  Value& value = target->values[AsciiUpper(name.c_str())];
  if (value.name.empty()) value.name = name.c_str();
  value.type = type;
  value.data = data;
  return ErrorSuccess;
}

std::int32_t RegOpenKeyExA(Hkey key, const std::string& subKey, std::uint32_t access,
                           Hkey& result) {
  ++Reg().calls;
  result = 0;
  Hkey root;
  std::vector<std::string> path;
  std::int32_t error = ErrorSuccess;
  if (!Locate(key, subKey, root, path, error)) return error;
  if (Find(RootKey(root), path) == nullptr) return ErrorFileNotFound;
  if ((access & (KeySetValue | KeyCreateSubKey)) && Denied(root)) return ErrorAccessDenied;
  result = OpenHandle(root, path, access);
  return ErrorSuccess;
}

std::int32_t RegQueryValueExA(Hkey key, const std::string& name, void* data,
                              std::uint32_t& size) {
  ++Reg().calls;
  Hkey root;
  std::uint32_t access;
  std::int32_t error = ErrorSuccess;
  const Key* target = KeyOf(key, root, access, error);
  if (target == nullptr) return error;
  if (!(access & KeyQueryValue)) return ErrorAccessDenied;
  auto value = target->values.find(AsciiUpper(name.c_str()));
  if (value == target->values.end()) return ErrorFileNotFound;
  const std::string& bytes = value->second.data;
  const std::uint32_t room = size;
  size = static_cast<std::uint32_t>(bytes.size());
  if (data == nullptr) return ErrorSuccess;
  if (room < bytes.size()) return ErrorMoreData;
  std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
  return ErrorSuccess;
}

std::int32_t RegDeleteKeyA(Hkey key, const std::string& subKey) {
  ++Reg().calls;
  Hkey root;
  std::vector<std::string> path;
  std::int32_t error = ErrorSuccess;
  if (!Locate(key, subKey, root, path, error)) return error;
  if (Names(subKey).empty()) return ErrorAccessDenied;  // not the key itself
  Key* parent = Find(RootKey(root), std::vector<std::string>(path.begin(), path.end() - 1));
  Key* target = Find(parent, {path.back()});
  if (target == nullptr) return ErrorFileNotFound;
  if (!target->subkeys.empty() || Denied(root)) return ErrorAccessDenied;
  parent->subkeys.erase(path.back());
  return ErrorSuccess;
}

std::int32_t RegCloseKey(Hkey key) {
  ++Reg().calls;
  if (RootKey(key) != nullptr) return ErrorSuccess;
  return Reg().open.erase(key) == 1 ? ErrorSuccess : ErrorInvalidHandle;
}

}  // namespace os
