// The operating system seam simulated on this machine: see host.h.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <set>

#include "ascii.h"
#include "calendar.h"
#include "host.h"
#include "host_internal.h"
#include "os.h"

namespace {

// ---- State of the simulated system -----------------------------------------

struct OpenFile {
  int fd;
  dev_t device;
  ino_t inode;
  std::string hostPath;
  std::uint32_t access;
  std::uint32_t share;
  std::uint64_t bytesRead;
  std::uint64_t bytesWritten;
};

struct Simulation {
  std::map<char, std::string> drives;  // 'C' -> host folder
  char currentDrive = 'C';
  std::vector<std::string> currentFolders;  // below the drive's root
  std::map<os::Handle, OpenFile> files;
  os::Handle nextHandle = 0x100;
  std::map<std::string, std::uint64_t> readLimits;   // host path -> bytes
  std::map<std::string, std::uint64_t> writeLimits;  // host path -> bytes
  std::vector<std::string> writeDenied;              // host folders
  std::set<os::Handle> finds;
  std::vector<std::string> deletionsAtRestart;
  std::string environment = std::string(2, '\0');  // the block, empty entry at its end
  bool environmentAvailable = true;
  std::set<const char*> environmentCopies;  // handed out, not yet freed
  std::string commandLine;
  std::string moduleFileName;
  std::vector<host::Process> processes;
  bool processesFail = false;
  std::int64_t clock = 0;  // local time, milliseconds since 1 January 1970
  std::int64_t clockStep = 0;
  std::uint64_t readingsBeforeMove = 0;  // 0: no move pending
  std::uint64_t clockReadings = 0;
  std::int64_t clockMove = 0;
  bool realClock = false;
  os::Window desktopWindow = 0;
  std::vector<host::Box> boxes;
  std::deque<int> answers;
  std::vector<host::ShellCall> shellCalls;
  std::intptr_t shellResult = 42;
  bool terminal = false;
};

Simulation& Sim() {
  static Simulation simulation;
  return simulation;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// ---- Calendar ------------------------------------------------------------------

std::int64_t RealLocalTime() {
  timeval now;
  gettimeofday(&now, nullptr);
  tm local;
  localtime_r(&now.tv_sec, &local);
  return DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) * MsPerDay +
         ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000LL + now.tv_usec / 1000;
}

// ---- Paths -----------------------------------------------------------------------

// Characters no Windows file name may hold.
bool IsBadNameChar(char c) {
  return static_cast<unsigned char>(c) < 32 || std::strchr("<>:\"|?*", c) != nullptr;
}

// The drive and folders a Windows path names, resolved against the current
// directory; false for a path Windows would refuse or that we do not map.
bool SplitWindowsPath(std::string path, char& drive, std::vector<std::string>& parts) {
  Simulation& sim = Sim();
  // the system receives a path as a NUL-terminated string: a NUL ends it
  path.resize(std::strlen(path.c_str()));
  if (path.empty()) return false;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return false;  // UNC
  // Windows drops trailing blanks and dots of a path that does not end in a
  // separator (but keeps "." and ".." as they are)
  if (!IsSeparator(path.back())) {
    std::size_t start = path.find_last_of("\\/");
    start = start == std::string::npos ? 0 : start + 1;
    const std::string last = path.substr(start);
    if (last != "." && last != "..") {
      const std::size_t keep = path.find_last_not_of(" .");
      path.resize(keep == std::string::npos || keep < start ? start : keep + 1);
    }
  }
  std::size_t i = 0;
  drive = sim.currentDrive;
  bool absolute = false;
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    drive = AsciiUpper(path[0]);
    i = 2;
    absolute = drive != sim.currentDrive;
  }
  if (i < path.size() && IsSeparator(path[i])) absolute = true;
  parts.clear();
  if (!absolute) parts = sim.currentFolders;
  while (i < path.size()) {
    while (i < path.size() && IsSeparator(path[i])) ++i;
    std::size_t end = i;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string part = path.substr(i, end - i);
    i = end;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    for (char c : part)
      if (IsBadNameChar(c)) return false;
    parts.push_back(part);
  }
  return sim.drives.count(drive) != 0;
}

// The name in a host folder that matches a Windows name without regard to
// ASCII case; the name itself when nothing matches.
std::string MatchName(const std::string& folder, const std::string& name) {
  struct stat info;
  if (lstat((folder + "/" + name).c_str(), &info) == 0) return name;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return name;
  std::string found = name;
  while (dirent* entry = readdir(dir)) {
    if (SameIgnoringAsciiCase(entry->d_name, name)) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

bool ResolveHostPath(const std::string& windowsPath, std::string& hostPath) {
  char drive;
  std::vector<std::string> parts;
  if (!SplitWindowsPath(windowsPath, drive, parts)) return false;
  std::string result = Sim().drives[drive];
  for (const std::string& part : parts) {
    const std::string folder = result.empty() ? "/" : result;
    result += "/" + MatchName(folder, part);
  }
  hostPath = result.empty() ? "/" : result;
  return true;
}

// The longest paths the ANSI file functions take: MAX_PATH with the NUL,
// and for a new directory room for a file name of 8.3 characters in it.
constexpr std::size_t MaxPath = 260;
constexpr std::size_t MaxDirectoryPath = 248;

// The length of a path as Windows makes it full: "C:" and "\" + name per
// level, "C:\" for the root.
std::size_t FullPathLength(const std::vector<std::string>& parts) {
  std::size_t length = 2;
  for (const std::string& part : parts) length += 1 + part.size();
  return parts.empty() ? 3 : length;
}

// A path as a file function receives it: false also when its full form is
// too long for the ANSI functions.
bool ResolveArgument(const std::string& windowsPath, std::string& hostPath,
                     std::size_t limit = MaxPath) {
  char drive;
  std::vector<std::string> parts;
  if (!SplitWindowsPath(windowsPath, drive, parts)) return false;
  if (FullPathLength(parts) >= limit) return false;
  return ResolveHostPath(windowsPath, hostPath);
}

// The full Windows form of a path: drive, colon, backslash-separated names.
std::string FullWindowsPath(const std::string& windowsPath) {
  char drive;
  std::vector<std::string> parts;
  if (!SplitWindowsPath(windowsPath, drive, parts)) return windowsPath;
  std::string full(1, drive);
  full += ':';
  for (const std::string& part : parts) full += "\\" + part;
  return parts.empty() ? full + "\\" : full;
}

bool IsBelow(const std::string& hostPath, const std::string& folder) {
  return hostPath == folder ||
         (hostPath.size() > folder.size() && hostPath.compare(0, folder.size(), folder) == 0 &&
          hostPath[folder.size()] == '/');
}

// Changes to this path are refused, as where the user may not write.
bool WriteDenied(const std::string& hostPath) {
  for (const std::string& folder : Sim().writeDenied)
    if (IsBelow(hostPath, folder)) return true;
  return false;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The program file of the running process, which Windows keeps from being
// written or deleted.
bool IsRunningProgram(const struct stat& info) {
  std::string hostPath;
  struct stat program;
  return !Sim().moduleFileName.empty() && ResolveHostPath(Sim().moduleFileName, hostPath) &&
         stat(hostPath.c_str(), &program) == 0 && SameFile(info, program);
}

// Some handle has the file open (none of ours allows deleting it meanwhile).
bool IsOpen(const struct stat& info) {
  for (const auto& open : Sim().files)
    if (open.second.device == info.st_dev && open.second.inode == info.st_ino) return true;
  return false;
}

// Some handle has the file open without letting others read it.
bool IsOpenWithoutSharedReading(const struct stat& info) {
  for (const auto& open : Sim().files)
    if (open.second.device == info.st_dev && open.second.inode == info.st_ino &&
        !(open.second.share & os::FileShareRead))
      return true;
  return false;
}

bool IsFolder(const std::string& hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ParentOf(const std::string& hostPath) {
  const std::size_t slash = hostPath.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : hostPath.substr(0, slash);
}

bool IsRegularFile(const std::string& hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void MakeFolders(const std::string& hostPath) {
  for (std::size_t i = 1; i <= hostPath.size(); ++i)
    if (i == hostPath.size() || hostPath[i] == '/') mkdir(hostPath.substr(0, i).c_str(), 0755);
}

// ---- Processes -------------------------------------------------------------------

// The program file a command line starts, found as CreateProcessA without an
// application name finds it: a quoted first item is the path; otherwise the
// blank-separated prefixes are tried one after another.  ".EXE" is added to
// a name without extension, and a bare name is looked for in the program's
// own directory and then the current directory.
std::string FindProgram(const std::string& commandLine) {
  std::vector<std::string> candidates;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const std::size_t close = commandLine.find('"', 1);
    candidates.push_back(commandLine.substr(1, close == std::string::npos ? std::string::npos
                                                                           : close - 1));
  } else {
    std::size_t end = 0;
    while ((end = commandLine.find_first_of(" \t", end)) != std::string::npos) {
      candidates.push_back(commandLine.substr(0, end));
      ++end;
    }
    candidates.push_back(commandLine);
  }
  for (std::string candidate : candidates) {
    if (candidate.empty()) continue;
    const std::size_t name = candidate.find_last_of("\\/:");
    if (candidate.find('.', name == std::string::npos ? 0 : name) == std::string::npos)
      candidate += ".EXE";
    std::vector<std::string> places;
    if (name == std::string::npos) {
      const std::string own = Sim().moduleFileName;
      const std::size_t slash = own.find_last_of("\\:");
      if (slash != std::string::npos) places.push_back(own.substr(0, slash + 1) + candidate);
    }
    places.push_back(candidate);
    for (const std::string& place : places) {
      std::string hostPath;
      if (ResolveHostPath(place, hostPath) && IsRegularFile(hostPath)) return place;
    }
  }
  return std::string();
}

// Terminal runs: the started program runs here and now, and is waited for
// so that its boxes do not mix with the shell's prompt.
void RunOnTerminal(const std::string& program, const std::string& commandLine) {
  std::string hostPath;
  ResolveHostPath(program, hostPath);
  const pid_t child = fork();
  if (child == 0) {
    setenv("ORVOLA_COMMAND_LINE", commandLine.c_str(), 1);
    execl(hostPath.c_str(), hostPath.c_str(), static_cast<char*>(nullptr));
    std::fprintf(stderr, "%s: %s\n", hostPath.c_str(), std::strerror(errno));
    _exit(127);
  }
  if (child > 0) waitpid(child, nullptr, 0);
}

int DefaultAnswer(unsigned type) {
  const unsigned buttons = type & 0x0F;
  const bool second = (type & 0x300) == 0x100;
  if (buttons == os::MbYesNo) return second ? os::IdNo : os::IdYes;
  return os::IdOk;
}

}  // namespace

// ==== Control of the simulation ==================================================

namespace host {

void Reset(const std::string& rootFolder) {
  for (auto& file : Sim().files) close(file.second.fd);
  for (const char* copy : Sim().environmentCopies) delete[] copy;
  Sim() = Simulation();
  ResetRegistry();
  Sim().clock = DaysFromCivil(2002, 1, 1) * MsPerDay;
  if (!rootFolder.empty()) {
    MakeFolders(rootFolder + "/C");
    MapDrive('C', rootFolder + "/C");
  }
}

void UseTerminal(const std::string& programPath) {
  Reset();
  Simulation& sim = Sim();
  sim.terminal = true;
  sim.realClock = true;
  MapDrive('Z', "");
  char* cwd = getcwd(nullptr, 0);
  std::string folder = cwd ? cwd : "/";
  std::free(cwd);
  for (char& c : folder)
    if (c == '/') c = '\\';
  SetCurrentDirectory("Z:" + folder);
  std::string program = programPath;
  for (char& c : program)
    if (c == '/') c = '\\';
  SetModuleFileName("Z:" + program);
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) entries.push_back(*entry);
  SetEnvironment(entries);
}

void MapDrive(char letter, const std::string& folder) {
  std::string mapped = folder;
  while (!mapped.empty() && mapped.back() == '/') mapped.pop_back();
  Sim().drives[AsciiUpper(letter)] = mapped;
}

void SetCurrentDirectory(const std::string& windowsPath) {
  char drive;
  std::vector<std::string> parts;
  if (!SplitWindowsPath(windowsPath, drive, parts)) std::abort();  // a test's mistake
  Sim().currentDrive = drive;
  Sim().currentFolders = parts;
}

std::string HostPath(const std::string& windowsPath) {
  std::string hostPath;
  return ResolveHostPath(windowsPath, hostPath) ? hostPath : std::string();
}

void PutFile(const std::string& windowsPath, const std::string& bytes) {
  const std::string path = HostPath(windowsPath);
  if (path.empty()) std::abort();
  MakeFolders(path.substr(0, path.rfind('/')));
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

bool GetFile(const std::string& windowsPath, std::string& bytes) {
  const std::string path = HostPath(windowsPath);
  FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bytes.clear();
  char block[65536];
  std::size_t n;
  while ((n = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, n);
  std::fclose(file);
  return true;
}

bool Exists(const std::string& windowsPath) {
  struct stat info;
  const std::string path = HostPath(windowsPath);
  return !path.empty() && stat(path.c_str(), &info) == 0;
}

void FailReadsAfter(const std::string& windowsPath, std::uint64_t bytes) {
  Sim().readLimits[HostPath(windowsPath)] = bytes;
}

void FailWritesAfter(const std::string& windowsPath, std::uint64_t bytes) {
  Sim().writeLimits[HostPath(windowsPath)] = bytes;
}

void DenyWritesBelow(const std::string& windowsFolder) {
  const std::string folder = HostPath(windowsFolder);
  if (folder.empty()) std::abort();  // a test's mistake
  Sim().writeDenied.push_back(folder);
}

const std::vector<std::string>& DeletionsAtRestart() { return Sim().deletionsAtRestart; }

std::size_t OpenHandleCount() {
  const Simulation& sim = Sim();
  return sim.files.size() + sim.finds.size() + sim.environmentCopies.size() + OpenRegistryKeys();
}

void SetEnvironment(const std::vector<std::string>& entries) {
  Simulation& sim = Sim();
  sim.environmentAvailable = true;
  sim.environment.clear();
  for (const std::string& entry : entries) sim.environment += entry + '\0';
  sim.environment += '\0';
  if (entries.empty()) sim.environment += '\0';
}

void WithholdEnvironment() { Sim().environmentAvailable = false; }

void SetCommandLine(const std::string& commandLine) { Sim().commandLine = commandLine; }
void SetModuleFileName(const std::string& windowsPath) { Sim().moduleFileName = windowsPath; }
const std::vector<Process>& Processes() { return Sim().processes; }

void FailProcessCreation() { Sim().processesFail = true; }

void BecomeProcess(const Process& process) {
  SetCommandLine(process.commandLine);
  SetModuleFileName(FullWindowsPath(process.program));
}

void SetLocalTime(std::uint16_t year, std::uint16_t month, std::uint16_t day, std::uint16_t hour,
                  std::uint16_t minute, std::uint16_t second, std::uint16_t milliseconds) {
  Sim().realClock = false;
  Sim().clock = DaysFromCivil(year, month, day) * MsPerDay +
                ((hour * 60 + minute) * 60 + second) * 1000LL + milliseconds;
}

void SetClockStep(std::int64_t milliseconds) { Sim().clockStep = milliseconds; }

std::uint64_t ClockReadingCount() { return Sim().clockReadings; }

void MoveClockAfterReadings(std::uint64_t readings, std::int64_t milliseconds) {
  Sim().readingsBeforeMove = readings;
  Sim().clockMove = milliseconds;
  if (readings == 0) Sim().clock += milliseconds;
}
void SetDesktopWindow(os::Window window) { Sim().desktopWindow = window; }
const std::vector<Box>& Boxes() { return Sim().boxes; }

void AnswerBoxes(const std::vector<int>& answers) {
  Sim().answers.assign(answers.begin(), answers.end());
}

const std::vector<ShellCall>& ShellCalls() { return Sim().shellCalls; }
void SetShellExecuteResult(std::intptr_t result) { Sim().shellResult = result; }

}  // namespace host

// ==== The seam =====================================================================

namespace os {

int MessageBoxA(Window owner, const std::string& text, const std::string& caption,
                unsigned type) {
  Simulation& sim = Sim();
  host::Box box{owner, text.c_str(), caption.c_str(), type, DefaultAnswer(type)};
  if (sim.terminal) {
    box.answer = host::ShowOnTerminal(box.text, box.caption, type, box.answer);
  } else if (!sim.answers.empty()) {
    box.answer = sim.answers.front();
    sim.answers.pop_front();
  }
  sim.boxes.push_back(box);
  return box.answer;
}

Window FindWindowA(const char* className) {
  return std::strcmp(className, "Progman") == 0 ? Sim().desktopWindow : 0;
}

std::intptr_t ShellExecuteA(Window owner, const std::string& file, int show) {
  Simulation& sim = Sim();
  sim.shellCalls.push_back(host::ShellCall{owner, file, show});
  if (sim.terminal) return host::OpenOnTerminal(file);
  return sim.shellResult;
}

void GetLocalTime(SystemTime& time) {
  Simulation& sim = Sim();
  const std::int64_t now = sim.realClock ? RealLocalTime() : sim.clock;
  ++sim.clockReadings;
  if (!sim.realClock) {
    sim.clock += sim.clockStep;
    if (sim.readingsBeforeMove > 0 && --sim.readingsBeforeMove == 0) sim.clock += sim.clockMove;
  }
  std::int64_t days = now / MsPerDay;
  std::int64_t ms = now % MsPerDay;
  if (ms < 0) {
    ms += MsPerDay;
    --days;
  }
  std::int64_t year;
  unsigned month, day;
  CivilFromDays(days, year, month, day);
  time.wYear = static_cast<std::uint16_t>(year);
  time.wMonth = static_cast<std::uint16_t>(month);
  time.wDay = static_cast<std::uint16_t>(day);
  time.wDayOfWeek = static_cast<std::uint16_t>(((days % 7) + 11) % 7);  // 1.1.1970: Thursday
  time.wHour = static_cast<std::uint16_t>(ms / 3600000);
  time.wMinute = static_cast<std::uint16_t>(ms / 60000 % 60);
  time.wSecond = static_cast<std::uint16_t>(ms / 1000 % 60);
  time.wMilliseconds = static_cast<std::uint16_t>(ms % 1000);
}

bool CreateProcessA(const std::string& commandLine, std::uint32_t creationFlags) {
  const std::string program = FindProgram(commandLine);
  if (program.empty() || Sim().processesFail) return false;
  Sim().processes.push_back(host::Process{commandLine, program, creationFlags});
  if (Sim().terminal) RunOnTerminal(program, commandLine);
  return true;
}

std::string GetModuleFileNameA() {
  // a 255-byte buffer holds 254 characters and the NUL
  return Sim().moduleFileName.substr(0, 254);
}

std::string GetCommandLineA() { return Sim().commandLine; }

const char* GetEnvironmentStringsA() {
  Simulation& sim = Sim();
  if (!sim.environmentAvailable) return nullptr;
  char* copy = new char[sim.environment.size()];
  std::memcpy(copy, sim.environment.data(), sim.environment.size());
  sim.environmentCopies.insert(copy);
  return copy;
}

bool FreeEnvironmentStringsA(const char* block) {
  if (Sim().environmentCopies.erase(block) == 0) return false;
  delete[] block;
  return true;
}

Handle CreateFileA(const std::string& name, std::uint32_t access, std::uint32_t share,
                   std::uint32_t disposition, std::uint32_t) {
  Simulation& sim = Sim();
  std::string path;
  if (!ResolveArgument(name, path)) return InvalidHandle;
  struct stat info;
  const bool exists = stat(path.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) return InvalidHandle;
  if (!exists && disposition == OpenExisting) return InvalidHandle;
  if (((access & GenericWrite) || !exists) && WriteDenied(path)) return InvalidHandle;
  if (exists && (access & GenericWrite) && IsRunningProgram(info)) return InvalidHandle;
  if (exists) {
    // sharing: neither the new nor an open handle may want what the other denies
    for (const auto& open : sim.files) {
      const OpenFile& other = open.second;
      if (other.device != info.st_dev || other.inode != info.st_ino) continue;
      const bool conflict = ((access & GenericRead) && !(other.share & FileShareRead)) ||
                            ((access & GenericWrite) && !(other.share & FileShareWrite)) ||
                            ((other.access & GenericRead) && !(share & FileShareRead)) ||
                            ((other.access & GenericWrite) && !(share & FileShareWrite));
      if (conflict) return InvalidHandle;
    }
  }
  int flags = (access & GenericWrite) ? ((access & GenericRead) ? O_RDWR : O_WRONLY) : O_RDONLY;
  if (disposition == OpenAlways || disposition == CreateAlways) flags |= O_CREAT;
  if (disposition == CreateAlways) flags |= O_TRUNC;
  const int fd = open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) return InvalidHandle;
  fstat(fd, &info);
  const Handle handle = sim.nextHandle;
  sim.nextHandle += 4;
  sim.files[handle] = OpenFile{fd, info.st_dev, info.st_ino, path, access, share, 0, 0};
  return handle;
}

bool ReadFile(Handle file, void* buffer, std::uint32_t size, std::uint32_t& read) {
  Simulation& sim = Sim();
  read = 0;
  auto open = sim.files.find(file);
  if (open == sim.files.end() || !(open->second.access & GenericRead)) return false;
  OpenFile& f = open->second;
  std::uint64_t allowed = size;
  auto limit = sim.readLimits.find(f.hostPath);
  if (limit != sim.readLimits.end()) {
    if (f.bytesRead >= limit->second) return false;
    allowed = std::min<std::uint64_t>(allowed, limit->second - f.bytesRead);
  }
  ssize_t n;
  do {
    n = ::read(f.fd, buffer, allowed);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return false;
  read = static_cast<std::uint32_t>(n);
  f.bytesRead += read;
  return true;
}

bool WriteFile(Handle file, const void* buffer, std::uint32_t size, std::uint32_t& written) {
  Simulation& sim = Sim();
  written = 0;
  auto open = sim.files.find(file);
  if (open == sim.files.end() || !(open->second.access & GenericWrite)) return false;
  OpenFile& f = open->second;
  std::uint64_t allowed = size;
  bool full = false;  // the disk fills up within this write
  auto limit = sim.writeLimits.find(f.hostPath);
  if (limit != sim.writeLimits.end()) {
    const std::uint64_t left = f.bytesWritten >= limit->second ? 0 : limit->second - f.bytesWritten;
    if (left < allowed) {
      allowed = left;
      full = true;
    }
  }
  const char* bytes = static_cast<const char*>(buffer);
  while (written < allowed) {
    const ssize_t n = ::write(f.fd, bytes + written, allowed - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<std::uint32_t>(n);
  }
  f.bytesWritten += written;
  return !full;
}

std::uint32_t SetFilePointer(Handle file, std::int32_t distance, std::uint32_t moveMethod) {
  auto open = Sim().files.find(file);
  if (open == Sim().files.end() || moveMethod > FileEnd) return InvalidSetFilePointer;
  const int whence = moveMethod == FileBegin ? SEEK_SET : moveMethod == FileCurrent ? SEEK_CUR
                                                                                    : SEEK_END;
  const off_t position = lseek(open->second.fd, distance, whence);
  if (position < 0) return InvalidSetFilePointer;
  return static_cast<std::uint32_t>(position);
}

bool CloseHandle(Handle object) {
  Simulation& sim = Sim();
  auto open = sim.files.find(object);
  if (open == sim.files.end()) return false;
  close(open->second.fd);
  sim.files.erase(open);
  return true;
}

bool CreateDirectoryA(const std::string& path) {
  std::string hostPath;
  if (!ResolveArgument(path, hostPath, MaxDirectoryPath)) return false;
  struct stat info;
  if (lstat(hostPath.c_str(), &info) == 0) return false;  // something of that name
  if (!IsFolder(ParentOf(hostPath)) || WriteDenied(hostPath)) return false;
  return mkdir(hostPath.c_str(), 0755) == 0;
}

bool CopyFileA(const std::string& existingFile, const std::string& newFile, bool failIfExists) {
  std::string source, target;
  if (!ResolveArgument(existingFile, source) || !ResolveArgument(newFile, target)) return false;
  struct stat from, to;
  if (stat(source.c_str(), &from) != 0 || !S_ISREG(from.st_mode)) return false;
  if (IsOpenWithoutSharedReading(from)) return false;
  if (stat(target.c_str(), &to) == 0) {
    if (failIfExists || !S_ISREG(to.st_mode) || SameFile(from, to)) return false;
    if (IsOpen(to) || IsRunningProgram(to)) return false;
  }
  if (!IsFolder(ParentOf(target)) || WriteDenied(target)) return false;
  std::string bytes;
  FILE* in = std::fopen(source.c_str(), "rb");
  if (in == nullptr) return false;
  char block[65536];
  std::size_t n;
  while ((n = std::fread(block, 1, sizeof block, in)) > 0) bytes.append(block, n);
  std::fclose(in);
  FILE* out = std::fopen(target.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written;
}

bool DeleteFileA(const std::string& path) {
  std::string hostPath;
  if (!ResolveArgument(path, hostPath)) return false;
  struct stat info;
  if (lstat(hostPath.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  if (WriteDenied(hostPath) || IsOpen(info) || IsRunningProgram(info)) return false;
  return unlink(hostPath.c_str()) == 0;
}

bool RemoveDirectoryA(const std::string& path) {
  std::string hostPath, current;
  if (!ResolveArgument(path, hostPath) || !IsFolder(hostPath) || WriteDenied(hostPath))
    return false;
  // the process's current directory is in use as long as it is current
  std::string currentPath = std::string(1, Sim().currentDrive) + ":\\";
  for (const std::string& part : Sim().currentFolders) currentPath += part + "\\";
  if (ResolveHostPath(currentPath, current) && current == hostPath) return false;
  return rmdir(hostPath.c_str()) == 0;  // fails while it holds anything
}

Handle FindFirstFileA(const std::string& path) {
  std::string hostPath;
  // "C:\Folder\" names no file: Windows finds nothing for it
  if (path.empty() || IsSeparator(path.back()) || !ResolveArgument(path, hostPath))
    return InvalidHandle;
  struct stat info;
  if (lstat(hostPath.c_str(), &info) != 0) return InvalidHandle;
  Simulation& sim = Sim();
  const Handle handle = sim.nextHandle;
  sim.nextHandle += 4;
  sim.finds.insert(handle);
  return handle;
}

bool FindClose(Handle find) { return Sim().finds.erase(find) == 1; }

bool MoveFileExA(const std::string& existingFile, std::uint32_t flags) {
  // only what the programs ask for: deletion when Windows next starts, which
  // is noted in HKEY_LOCAL_MACHINE
  if (flags != MovefileDelayUntilReboot || existingFile.empty()) return false;
  if (host::RegistryWritesDenied(HkeyLocalMachine)) return false;
  Sim().deletionsAtRestart.push_back(existingFile);
  return true;
}

bool SetCurrentDirectoryA(const std::string& path) {
  char drive;
  std::vector<std::string> parts;
  std::string hostPath;
  if (!SplitWindowsPath(path, drive, parts) || !ResolveArgument(path, hostPath) ||
      !IsFolder(hostPath))
    return false;
  Sim().currentDrive = drive;
  Sim().currentFolders = parts;
  return true;
}

}  // namespace os
