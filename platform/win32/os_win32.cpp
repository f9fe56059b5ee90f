// The operating system seam on Windows: each function is the real ANSI call.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "os.h"

// windows.h has the ANSI environment call under its old name
// GetEnvironmentStrings and maps the A name onto it; the seam's function of
// the A name must keep its name.
#ifdef UNICODE
#error "the programs use the ANSI calls"
#endif
#undef GetEnvironmentStringsA

static_assert(os::MbOk == MB_OK && os::MbYesNo == MB_YESNO, "message box types");
static_assert(os::MbIconError == MB_ICONERROR && os::MbIconQuestion == MB_ICONQUESTION &&
                  os::MbIconWarning == MB_ICONWARNING, "message box icons");
static_assert(os::IdOk == IDOK && os::IdYes == IDYES && os::IdNo == IDNO, "message box results");
static_assert(os::SwShowNormal == SW_SHOWNORMAL, "show command");
static_assert(os::CreateNewConsole == CREATE_NEW_CONSOLE &&
                  os::NormalPriorityClass == NORMAL_PRIORITY_CLASS, "creation flags");
static_assert(os::GenericRead == GENERIC_READ && os::GenericWrite == GENERIC_WRITE, "access");
static_assert(os::FileShareRead == FILE_SHARE_READ && os::FileShareWrite == FILE_SHARE_WRITE,
              "share modes");
static_assert(os::CreateAlways == CREATE_ALWAYS && os::OpenExisting == OPEN_EXISTING &&
                  os::OpenAlways == OPEN_ALWAYS, "dispositions");
static_assert(os::FileAttributeNormal == FILE_ATTRIBUTE_NORMAL, "attributes");
static_assert(os::FileBegin == FILE_BEGIN && os::FileCurrent == FILE_CURRENT &&
                  os::FileEnd == FILE_END, "move methods");
static_assert(os::InvalidSetFilePointer == INVALID_SET_FILE_POINTER, "file pointer failure");
static_assert(os::MovefileDelayUntilReboot == MOVEFILE_DELAY_UNTIL_REBOOT, "move flags");
static_assert(sizeof(os::SystemTime) == sizeof(SYSTEMTIME), "SYSTEMTIME");

namespace os {

namespace {

HWND AsWindow(Window window) { return reinterpret_cast<HWND>(window); }
HANDLE AsHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

int MessageBoxA(Window owner, const std::string& text, const std::string& caption,
                unsigned type) {
  return ::MessageBoxA(AsWindow(owner), text.c_str(), caption.c_str(), type);
}

Window FindWindowA(const char* className) {
  return reinterpret_cast<Window>(::FindWindowA(className, nullptr));
}

std::intptr_t ShellExecuteA(Window owner, const std::string& file, int show) {
  return reinterpret_cast<std::intptr_t>(
      ::ShellExecuteA(AsWindow(owner), nullptr, file.c_str(), nullptr, nullptr, show));
}

void GetLocalTime(SystemTime& time) {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  std::memcpy(&time, &now, sizeof now);
}

bool CreateProcessA(const std::string& commandLine, std::uint32_t creationFlags) {
  // CreateProcessA may write into the command line: give it a copy
  std::string line = commandLine;
  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  std::memset(&info, 0, sizeof info);
  if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, creationFlags, nullptr,
                        nullptr, &startup, &info))
    return false;
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return true;
}

std::string GetModuleFileNameA() {
  char path[255];
  const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  // a path that does not fit is cut; older systems then leave out the NUL
  return std::string(path, strnlen(path, length));
}

std::string GetCommandLineA() { return ::GetCommandLineA(); }

const char* GetEnvironmentStringsA() { return ::GetEnvironmentStrings(); }

bool FreeEnvironmentStringsA(const char* block) {
  return ::FreeEnvironmentStringsA(const_cast<LPCH>(block)) != FALSE;
}

Handle CreateFileA(const std::string& name, std::uint32_t access, std::uint32_t share,
                   std::uint32_t disposition, std::uint32_t attributes) {
  return reinterpret_cast<Handle>(
      ::CreateFileA(name.c_str(), access, share, nullptr, disposition, attributes, nullptr));
}

bool ReadFile(Handle file, void* buffer, std::uint32_t size, std::uint32_t& read) {
  DWORD done = 0;
  const BOOL ok = ::ReadFile(AsHandle(file), buffer, size, &done, nullptr);
  read = done;
  return ok != FALSE;
}

bool WriteFile(Handle file, const void* buffer, std::uint32_t size, std::uint32_t& written) {
  DWORD done = 0;
  const BOOL ok = ::WriteFile(AsHandle(file), buffer, size, &done, nullptr);
  written = done;
  return ok != FALSE;
}

std::uint32_t SetFilePointer(Handle file, std::int32_t distance, std::uint32_t moveMethod) {
  return ::SetFilePointer(AsHandle(file), distance, nullptr, moveMethod);
}

bool CloseHandle(Handle object) { return ::CloseHandle(AsHandle(object)) != FALSE; }

bool CreateDirectoryA(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool CopyFileA(const std::string& existingFile, const std::string& newFile, bool failIfExists) {
  return ::CopyFileA(existingFile.c_str(), newFile.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool DeleteFileA(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool RemoveDirectoryA(const std::string& path) {
  return ::RemoveDirectoryA(path.c_str()) != FALSE;
}

Handle FindFirstFileA(const std::string& path) {
  WIN32_FIND_DATAA data;
  return reinterpret_cast<Handle>(::FindFirstFileA(path.c_str(), &data));
}

bool FindClose(Handle find) { return ::FindClose(AsHandle(find)) != FALSE; }

bool MoveFileExA(const std::string& existingFile, std::uint32_t flags) {
  return ::MoveFileExA(existingFile.c_str(), nullptr, flags) != FALSE;
}

bool SetCurrentDirectoryA(const std::string& path) {
  return ::SetCurrentDirectoryA(path.c_str()) != FALSE;
}

}  // namespace os
