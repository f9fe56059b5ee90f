// The operating system as both programs see it.
//
// Each function here stands for the ANSI Win32 call of the same name, with
// the arguments the programs pass and the result they look at; what a
// program always passes the same way (a NULL, a zeroed record) is fixed
// inside the function instead of being an argument.  platform/win32 makes
// the real calls; platform/host simulates them for tests and terminal runs.
// Nothing else in the programs touches the operating system, and nothing
// here includes an operating system header.
#pragma once

#include <cstdint>
#include <string>

namespace os {

// Window and kernel handles as plain integers; 0 is "no window".
using Window = std::uintptr_t;
using Handle = std::uintptr_t;
constexpr Handle InvalidHandle = ~Handle(0);  // INVALID_HANDLE_VALUE

// ---- Message boxes -------------------------------------------------------
constexpr unsigned MbOk = 0x00000000;
constexpr unsigned MbYesNo = 0x00000004;
constexpr unsigned MbIconError = 0x00000010;
constexpr unsigned MbIconQuestion = 0x00000020;
constexpr unsigned MbIconWarning = 0x00000030;
constexpr int IdOk = 1;
constexpr int IdYes = 6;
constexpr int IdNo = 7;

// MessageBoxA(owner, text, caption, type).  Text and caption are passed as
// NUL-terminated strings: a NUL byte inside ends them.
int MessageBoxA(Window owner, const std::string& text,
                const std::string& caption, unsigned type);

// FindWindowA(className, NULL): the first top-level window of the class.
Window FindWindowA(const char* className);

// ---- Shell ---------------------------------------------------------------
constexpr int SwShowNormal = 1;

// ShellExecuteA(owner, NULL, file, NULL, NULL, show): the default action on
// a file or address.  A result of 32 or less is a failure.
std::intptr_t ShellExecuteA(Window owner, const std::string& file, int show);

// ---- Time ----------------------------------------------------------------
struct SystemTime {  // SYSTEMTIME
  std::uint16_t wYear, wMonth, wDayOfWeek, wDay;
  std::uint16_t wHour, wMinute, wSecond, wMilliseconds;
};

void GetLocalTime(SystemTime& time);

// ---- Processes -----------------------------------------------------------
constexpr std::uint32_t CreateNewConsole = 0x00000010;
constexpr std::uint32_t NormalPriorityClass = 0x00000020;

// CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, flags, NULL, NULL,
// &startup, &info) with a STARTUPINFOA that is all zero but its size.  The
// new process inherits environment and current directory; nothing waits for
// it and its handles are closed at once.  True when a process was created.
bool CreateProcessA(const std::string& commandLine, std::uint32_t creationFlags);

// GetModuleFileNameA(NULL, buffer, 255): the running program's own path as
// it fits into 255 bytes with its terminating NUL.
std::string GetModuleFileNameA();

// GetCommandLineA(): the process command line as the process received it.
std::string GetCommandLineA();

// GetEnvironmentStringsA(): the process's environment block, NUL-terminated
// entries "name=value" and an empty entry at its end; NULL when there is
// none.  Released with FreeEnvironmentStringsA.
const char* GetEnvironmentStringsA();
bool FreeEnvironmentStringsA(const char* block);

// ---- Files ---------------------------------------------------------------
constexpr std::uint32_t GenericRead = 0x80000000;
constexpr std::uint32_t GenericWrite = 0x40000000;
constexpr std::uint32_t FileShareRead = 0x00000001;
constexpr std::uint32_t FileShareWrite = 0x00000002;
constexpr std::uint32_t CreateAlways = 2;
constexpr std::uint32_t OpenExisting = 3;
constexpr std::uint32_t OpenAlways = 4;
constexpr std::uint32_t FileAttributeNormal = 0x00000080;

// CreateFileA(name, access, share, NULL, disposition, attributes, NULL).
Handle CreateFileA(const std::string& name, std::uint32_t access,
                   std::uint32_t share, std::uint32_t disposition,
                   std::uint32_t attributes);

// ReadFile(file, buffer, size, &read, NULL).  At the end of the file it
// succeeds with read = 0.
bool ReadFile(Handle file, void* buffer, std::uint32_t size, std::uint32_t& read);

// WriteFile(file, buffer, size, &written, NULL).
bool WriteFile(Handle file, const void* buffer, std::uint32_t size, std::uint32_t& written);

constexpr std::uint32_t FileBegin = 0;
constexpr std::uint32_t FileCurrent = 1;
constexpr std::uint32_t FileEnd = 2;
constexpr std::uint32_t InvalidSetFilePointer = 0xFFFFFFFF;

// SetFilePointer(file, distance, NULL, method): the new position, or
// InvalidSetFilePointer.
std::uint32_t SetFilePointer(Handle file, std::int32_t distance, std::uint32_t moveMethod);

bool CloseHandle(Handle object);

// CreateDirectoryA(path, NULL): one level; fails when the parent is missing
// or something of that name exists.
bool CreateDirectoryA(const std::string& path);

// CopyFileA(existing, newFile, failIfExists).
bool CopyFileA(const std::string& existingFile, const std::string& newFile, bool failIfExists);

// DeleteFileA(path): a file, never a directory.
bool DeleteFileA(const std::string& path);

// RemoveDirectoryA(path): an empty directory only.
bool RemoveDirectoryA(const std::string& path);

// FindFirstFileA(path, &data) with the found data not looked at: a handle
// other than InvalidHandle when a file or directory of that name exists.
// Closed with FindClose.
Handle FindFirstFileA(const std::string& path);
bool FindClose(Handle find);

constexpr std::uint32_t MovefileDelayUntilReboot = 0x00000004;

// MoveFileExA(existing, NULL, flags): with MovefileDelayUntilReboot the file
// is deleted when Windows next starts.
bool MoveFileExA(const std::string& existingFile, std::uint32_t flags);

// SetCurrentDirectoryA(path).
bool SetCurrentDirectoryA(const std::string& path);

// ---- Registry ------------------------------------------------------------
using Hkey = std::uintptr_t;
constexpr Hkey HkeyCurrentUser = 0x80000001;   // HKEY_CURRENT_USER
constexpr Hkey HkeyLocalMachine = 0x80000002;  // HKEY_LOCAL_MACHINE
constexpr std::uint32_t RegOptionNonVolatile = 0x00000000;
constexpr std::uint32_t KeyRead = 0x00020019;
constexpr std::uint32_t KeyWrite = 0x00020006;
constexpr std::uint32_t RegSz = 1;

// Results of the registry calls (Win32 error codes).
constexpr std::int32_t ErrorSuccess = 0;
constexpr std::int32_t ErrorFileNotFound = 2;
constexpr std::int32_t ErrorAccessDenied = 5;
constexpr std::int32_t ErrorMoreData = 234;

// RegCreateKeyExA(key, subKey, 0, NULL, options, access, NULL, &result,
// NULL): creates the key with the keys above it, or opens it.
std::int32_t RegCreateKeyExA(Hkey key, const std::string& subKey, std::uint32_t options,
                             std::uint32_t access, Hkey& result);

// RegSetValueExA(key, name, 0, type, data, size of data).
std::int32_t RegSetValueExA(Hkey key, const std::string& name, std::uint32_t type,
                            const std::string& data);

// RegOpenKeyExA(key, subKey, 0, access, &result).
std::int32_t RegOpenKeyExA(Hkey key, const std::string& subKey, std::uint32_t access,
                           Hkey& result);

// RegQueryValueExA(key, name, NULL, NULL, data, &size): the value's bytes
// into data, which holds size bytes; size becomes the value's size.
// ErrorMoreData when the value does not fit.
std::int32_t RegQueryValueExA(Hkey key, const std::string& name, void* data,
                              std::uint32_t& size);

// RegDeleteKeyA(key, subKey): a key without subkeys.
std::int32_t RegDeleteKeyA(Hkey key, const std::string& subKey);

std::int32_t RegCloseKey(Hkey key);

}  // namespace os
