#include "removal.h"

#include <vector>

#include "calendar.h"
#include "os.h"
#include "paths.h"
#include "product.h"

namespace {

// "Nenalezen soubor <log>!"
const char LogMissingBefore[] = "Nenalezen soubor ";
const char LogMissingAfter[] = "!";
// "Odinstalace úspěšně dokončena."
const char SuccessText[] = "Odinstalace \xFAsp\xEC\x9An\xEC dokon\xE8" "ena.";
// "Odinstalace dokončena – některé soubory či složky však bohužel nebylo
// možno odstranit."
const char FailureText[] =
    "Odinstalace dokon\xE8" "ena \x96 n\xEC" "kter\xE9 soubory \xE8i slo\x9Eky v\x9A" "ak "
    "bohu\x9E" "el nebylo mo\x9Eno odstranit.";

// The time the starting process has to end before its files are deleted.
constexpr std::uint16_t StartingProcessGrace = 1000;

constexpr std::uint32_t BlockSize = 4096;
constexpr char CtrlZ = 0x1A;
const char LocalMachine[] = "HKLM\\";

// The local date and time as one number of milliseconds.
std::int64_t ReadClock() {
  os::SystemTime now;
  os::GetLocalTime(now);
  return DaysFromCivil(now.wYear, now.wMonth, now.wDay) * MsPerDay +
         ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 1000LL + now.wMilliseconds;
}

// Reads the log's lines in file order.  A line ends at CR, LF or CR LF and
// is kept whole: a path cut short would name another file.  Reading stops
// at the end of the file or before a line that begins with Ctrl-Z.  False
// after a read error; the line it broke off is dropped.
bool ReadLogLines(os::Handle file, std::vector<std::string>& lines) {
  std::vector<char> block(BlockSize);
  std::string line;
  bool inLine = false;    // some byte of the current line has been read
  bool afterCr = false;   // an LF next belongs to the line end before
  for (;;) {
    std::uint32_t read = 0;
    if (!os::ReadFile(file, block.data(), BlockSize, read)) return false;
    if (read == 0) break;
    for (std::uint32_t i = 0; i < read; ++i) {
      const char c = block[i];
      if (afterCr) {
        afterCr = false;
        if (c == '\n') continue;
      }
      if (c == '\r' || c == '\n') {
        lines.push_back(line);
        line.clear();
        inLine = false;
        afterCr = c == '\r';
        continue;
      }
      if (!inLine && c == CtrlZ) return true;
      line += c;
      inLine = true;
    }
  }
  if (inLine) lines.push_back(line);  // a last line without a line end
  return true;
}

// Undoes what one line of the log names; true when it is gone.
bool ActOnLogLine(const std::string& line) {
  // The system would read a path or key name only up to a NUL and act on
  // what stands before it, which the line does not name: such a line names
  // nothing.
  if (line.empty() || line.find('\0') != std::string::npos) return false;
  const std::string text = line.substr(1);
  switch (line[0]) {
    case 'D':
      return RemoveDirIfExists(text);
    case 'F':
      return DeleteFileIfExists(text);
    case 'R':
      // keys below HKEY_LOCAL_MACHINE only, named exactly so
      if (text.compare(0, sizeof LocalMachine - 1, LocalMachine) != 0) return false;
      return os::RegDeleteKeyA(os::HkeyLocalMachine, text.substr(sizeof LocalMachine - 1)) ==
             os::ErrorSuccess;
    default:
      return false;
  }
}

}  // namespace

void WaitMilliseconds(std::uint16_t milliseconds) {
  std::int64_t deadline = ReadClock() + milliseconds;
  for (;;) {
    const std::int64_t now = ReadClock();
    if (now >= deadline) return;
    // a clock set far back (the end of summer time, say) would otherwise
    // keep the processor busy for as long
    if (deadline - now > milliseconds) deadline = now + milliseconds;
  }
}

bool DeleteFileIfExists(const std::string& path) {
  return !PathExists(path) || os::DeleteFileA(path);
}

bool RemoveDirIfExists(const std::string& path) {
  return !PathExists(path) || os::RemoveDirectoryA(path);
}

void RemoveMain() {
  const std::string program = os::GetModuleFileNameA();
  // The current directory is inherited from the starting process and may
  // be the install directory, which cannot be removed while it is current:
  // the copy's own directory is current instead.
  if (!FolderOf(program).empty()) os::SetCurrentDirectoryA(FolderOf(program));

  // 1.
  WaitMilliseconds(StartingProcessGrace);

  // 2.
  const std::string logPath = ReplaceExtension(program, ".DAT");
  const os::Handle file = os::CreateFileA(logPath, os::GenericRead, os::FileShareRead,
                                          os::OpenExisting, os::FileAttributeNormal);
  if (file == os::InvalidHandle) {
    os::MessageBoxA(0, LogMissingBefore + logPath + LogMissingAfter, RemovalCaption,
                    os::MbOk | os::MbIconError);
    return;
  }

  // 3.-4. the whole log, however many lines it has; a read error leaves
  // things unlisted, which the summary must not call a success
  std::vector<std::string> lines;
  bool success = ReadLogLines(file, lines);
  os::CloseHandle(file);

  // 5. last line first: what is in a directory goes before the directory
  for (std::size_t i = lines.size(); i-- > 0;) success = ActOnLogLine(lines[i]) && success;

  // 6.
  os::MessageBoxA(0, success ? SuccessText : FailureText, RemovalCaption, os::MbOk);
}
