// Control of the simulated operating system on this machine.
//
// Tests script it: a sandbox file system under a root folder (drive C: is
// the folder "C" below it), a registry in memory, an environment block, a
// settable clock, recorded message boxes with scripted answers, recorded
// processes and shell calls.  Terminal runs use it with real time, the real
// file system as drive Z:, the real environment and boxes drawn on the
// terminal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "os.h"

namespace host {

// ---- The whole simulation --------------------------------------------------

// Forgets everything: no drives, no files open, an empty registry and
// environment, no boxes or processes recorded, clock at 1 January 2002 00:00
// and standing still, no desktop window, empty command line and program
// path.  With a root folder, drive C:
// becomes root/C (created if missing) and the current directory C:\.
void Reset(const std::string& rootFolder = std::string());

// Terminal runs: drive Z: is "/", the current directory and program path are
// the real ones, the clock is the real local time, boxes are drawn on the
// terminal and answered there (or by their default button when standard
// input is no terminal), and started programs really run.
void UseTerminal(const std::string& programPath);

// ---- Files -------------------------------------------------------------------

void MapDrive(char letter, const std::string& folder);
void SetCurrentDirectory(const std::string& windowsPath);
// The folder on this machine that a Windows path names ("" when its drive is
// not mapped).  Existing components are matched without regard to ASCII case.
std::string HostPath(const std::string& windowsPath);
// Writes a file (creating its folders) and reads one back, by Windows path.
void PutFile(const std::string& windowsPath, const std::string& bytes);
bool GetFile(const std::string& windowsPath, std::string& bytes);
bool Exists(const std::string& windowsPath);
// Reading the file fails once this many bytes have been read through a handle.
void FailReadsAfter(const std::string& windowsPath, std::uint64_t bytes);
// Writing the file fails once this many bytes have been written through a
// handle, as on a full disk.
void FailWritesAfter(const std::string& windowsPath, std::uint64_t bytes);
// The folder and everything in it cannot be changed: no file opened for
// writing, created, copied onto or deleted, no directory made or removed,
// as where the user has no right to write.
void DenyWritesBelow(const std::string& windowsFolder);
// The files that MoveFileExA has scheduled for deletion at the next start of
// Windows, in order.
const std::vector<std::string>& DeletionsAtRestart();
// Open file, search, registry key handles and environment blocks not yet
// released, so that a test can see that everything was closed.
std::size_t OpenHandleCount();

// ---- Registry -----------------------------------------------------------------

// Writes a value, creating its key and the keys above it.
void SetRegistryValue(os::Hkey root, const std::string& key, const std::string& name,
                      std::uint32_t type, const std::string& data);
bool GetRegistryValue(os::Hkey root, const std::string& key, const std::string& name,
                      std::string& data, std::uint32_t* type = nullptr);
// Every key below the root, as "Software\Orvola", each after its parent.
std::vector<std::string> RegistryKeys(os::Hkey root);
// No key below the root can be created, written or deleted any more, as
// for a user without administrator rights under HKEY_LOCAL_MACHINE.  Also
// stops MoveFileExA from scheduling deletions, which it notes there.
void DenyRegistryWrites(os::Hkey root);
// The registry calls the programs have made so far.
std::size_t RegistryCallCount();

// ---- Environment ---------------------------------------------------------------

// The environment block from now on: these entries ("NAME=value") in order.
void SetEnvironment(const std::vector<std::string>& entries);
// GetEnvironmentStringsA yields no block at all.
void WithholdEnvironment();

// ---- Programs and processes --------------------------------------------------

void SetCommandLine(const std::string& commandLine);
void SetModuleFileName(const std::string& windowsPath);

struct Process {
  std::string commandLine;
  std::string program;  // the program file the command line started
  std::uint32_t creationFlags;
};
const std::vector<Process>& Processes();
// CreateProcessA fails from now on, as when the system refuses to run it.
void FailProcessCreation();
// Makes the simulation the process that was started: its command line and
// its program file's full path.  Files, registry, environment, current
// directory and clock go on as they are, as the started process inherits
// or shares them; its main procedure is then called by the test.
void BecomeProcess(const Process& process);

// ---- Clock -------------------------------------------------------------------

// The local time from now on; the weekday is derived from the date.
void SetLocalTime(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                  std::uint16_t hour = 0, std::uint16_t minute = 0,
                  std::uint16_t second = 0, std::uint16_t milliseconds = 0);
// Every reading of the clock moves it on by this many milliseconds.
void SetClockStep(std::int64_t milliseconds);
// After this many more readings the clock is moved by the given number of
// milliseconds (set back when negative), as when the user or a time server
// changes it.
void MoveClockAfterReadings(std::uint64_t readings, std::int64_t milliseconds);
// The readings of the clock so far.
std::uint64_t ClockReadingCount();

// ---- Windows and boxes ---------------------------------------------------------

// What FindWindowA("Progman") finds; 0 for none.
void SetDesktopWindow(os::Window window);

struct Box {
  os::Window owner;
  std::string text;     // as the box shows it: up to a NUL
  std::string caption;  // likewise
  unsigned type;
  int answer;
};
const std::vector<Box>& Boxes();
// The answers of the next boxes, in order.  A box without a scripted answer
// is closed with its default button.
void AnswerBoxes(const std::vector<int>& answers);

// ---- Shell ---------------------------------------------------------------------

struct ShellCall {
  os::Window owner;
  std::string file;
  int show;
};
const std::vector<ShellCall>& ShellCalls();
// What ShellExecuteA returns from now on (greater than 32 is success).
void SetShellExecuteResult(std::intptr_t result);

}  // namespace host
