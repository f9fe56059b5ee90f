// The registry part of the operating system seam on Windows (advapi32), apart
// from the rest so that a program that does not use the registry does not
// import it.
#include <windows.h>

#include "os.h"

static_assert(os::RegOptionNonVolatile == REG_OPTION_NON_VOLATILE, "key options");
static_assert(os::KeyRead == KEY_READ && os::KeyWrite == KEY_WRITE, "key access");
static_assert(os::RegSz == REG_SZ, "value types");
static_assert(os::ErrorSuccess == ERROR_SUCCESS && os::ErrorFileNotFound == ERROR_FILE_NOT_FOUND &&
                  os::ErrorAccessDenied == ERROR_ACCESS_DENIED &&
                  os::ErrorMoreData == ERROR_MORE_DATA, "error codes");
static_assert(sizeof(LONG) == sizeof(std::int32_t), "registry results");

namespace os {

namespace {

// The predefined root keys are sign-extended 32-bit values; every other key
// is a handle the system gave us.
HKEY AsKey(Hkey key) {
  if (key == HkeyCurrentUser) return HKEY_CURRENT_USER;
  if (key == HkeyLocalMachine) return HKEY_LOCAL_MACHINE;
  return reinterpret_cast<HKEY>(key);
}

}  // namespace

std::int32_t RegCreateKeyExA(Hkey key, const std::string& subKey, std::uint32_t options,
                             std::uint32_t access, Hkey& result) {
  HKEY created = nullptr;
  const LONG status = ::RegCreateKeyExA(AsKey(key), subKey.c_str(), 0, nullptr, options, access,
                                        nullptr, &created, nullptr);
  result = reinterpret_cast<Hkey>(created);
  return status;
}

std::int32_t RegSetValueExA(Hkey key, const std::string& name, std::uint32_t type,
                            const std::string& data) {
  return ::RegSetValueExA(AsKey(key), name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
}

std::int32_t RegOpenKeyExA(Hkey key, const std::string& subKey, std::uint32_t access,
                           Hkey& result) {
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyExA(AsKey(key), subKey.c_str(), 0, access, &opened);
  result = reinterpret_cast<Hkey>(opened);
  return status;
}

std::int32_t RegQueryValueExA(Hkey key, const std::string& name, void* data,
                              std::uint32_t& size) {
  DWORD bytes = size;
  const LONG status = ::RegQueryValueExA(AsKey(key), name.c_str(), nullptr, nullptr,
                                         static_cast<BYTE*>(data), &bytes);
  size = bytes;
  return status;
}

std::int32_t RegDeleteKeyA(Hkey key, const std::string& subKey) {
  return ::RegDeleteKeyA(AsKey(key), subKey.c_str());
}

std::int32_t RegCloseKey(Hkey key) { return ::RegCloseKey(AsKey(key)); }

}  // namespace os
