#include "reminders.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "date_prefix.h"
#include "os.h"
#include "viewer_state.h"

// Windows-1250: Neděle, Pondělí, Úterý, Středa, Čtvrtek, Pátek, Sobota
const char* const WeekdayNames[7] = {
    "Ned\xEC" "le", "Pond\xEC" "l\xED", "\xDAter\xFD", "St\xF8" "eda",
    "\xC8tvrtek",   "P\xE1tek",          "Sobota",
};

namespace {

// "[uzel na kapesníku]": the caption of a line shown every day
const char PlainLineCaption[] = "[uzel na kapesn\xEDku]";
const char ReminderFileName[] = "DIAR.TXT";
constexpr char CtrlZ = 0x1A;
constexpr std::uint32_t BlockSize = 64 * 1024;

// The reminder file, read a block at a time.  A line that lies within one
// block is looked at where it stands; one that runs across blocks is put
// together in `joined`.
struct ReminderFile {
  os::Handle handle = os::InvalidHandle;
  std::vector<char> block = std::vector<char>(BlockSize);
  std::uint32_t position = 0;  // next byte in block
  std::uint32_t filled = 0;    // bytes in block
  bool afterCr = false;        // the last line ended with CR: an LF next belongs to it
  bool failed = false;         // a read went wrong
  std::string joined;
};

// Makes the next byte available; false at the end of the file or after a
// read error.
bool FillBlock(ReminderFile& file) {
  if (file.position < file.filled) return true;
  if (file.failed) return false;
  std::uint32_t read = 0;
  if (!os::ReadFile(file.handle, file.block.data(), BlockSize, read)) {
    file.failed = true;
    return false;
  }
  file.position = 0;
  file.filled = read;
  return read > 0;
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The first CR or LF in [p, end), or end.  Eight bytes at a time: a byte of
// a word is a line end when it equals CR or LF, which the classic test for a
// zero byte finds in the word XORed with either; its lowest marked byte is
// the first one (bytes are loaded in little-endian order).
const char* FindLineEnd(const char* p, const char* end) {
  constexpr std::uint64_t Ones = 0x0101010101010101ULL;
  constexpr std::uint64_t Highs = 0x8080808080808080ULL;
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    const std::uint64_t cr = word ^ (Ones * '\r');
    const std::uint64_t lf = word ^ (Ones * '\n');
    const std::uint64_t marks = (((cr - Ones) & ~cr) | ((lf - Ones) & ~lf)) & Highs;
    if (marks != 0) return p + __builtin_ctzll(marks) / 8;
    p += 8;
  }
  while (p < end && !IsLineEnd(*p)) ++p;
  return p;
}

// Takes the bytes up to the next line end (or the block's end) off the
// block; true when a line end was met.
bool TakeUntilLineEnd(ReminderFile& file, const char*& begin, const char*& end) {
  begin = file.block.data() + file.position;
  const char* const blockEnd = file.block.data() + file.filled;
  end = FindLineEnd(begin, blockEnd);
  file.position = static_cast<std::uint32_t>(end - file.block.data());
  if (end == blockEnd) return false;
  file.afterCr = *end == '\r';
  ++file.position;
  return true;
}

// The next line without its line end (CR LF, LF or CR); it stays valid until
// the next call.  False at the end of the file, when the next line begins
// with Ctrl-Z, and after a read error.
bool ReadLine(ReminderFile& file, std::string_view& line) {
  if (file.afterCr) {
    file.afterCr = false;
    if (FillBlock(file) && file.block[file.position] == '\n') ++file.position;
  }
  if (!FillBlock(file) || file.block[file.position] == CtrlZ) return false;
  const char* begin;
  const char* end;
  if (TakeUntilLineEnd(file, begin, end)) {
    line = std::string_view(begin, static_cast<std::size_t>(end - begin));
    return true;
  }
  file.joined.assign(begin, end);
  for (;;) {
    if (!FillBlock(file)) break;  // a last line without a line end
    const bool complete = TakeUntilLineEnd(file, begin, end);
    file.joined.append(begin, end);
    if (complete) break;
  }
  line = file.joined;
  return !file.failed;
}

void ShowReminder(std::string_view message, std::string_view caption) {
  os::MessageBoxA(Viewer.ownerWindow, std::string(message), std::string(caption), os::MbOk);
}

// Shows the line if it is due: a weekday line on today's weekday, a date
// line on the displayed date, a plain line always; comments and empty
// lines never.
void ShowIfDue(std::string_view line) {
  const std::size_t text = line.find_first_not_of(' ');
  if (text == std::string_view::npos || line[text] == ';') return;
  line.remove_prefix(text);
  std::size_t prefix;
  const std::uint8_t weekday = ScanWeekdayPrefix(line, prefix);
  if (weekday != NoValue) {
    if (weekday == Viewer.todayWeekday) ShowReminder(line.substr(prefix), WeekdayNames[weekday]);
    return;
  }
  std::uint16_t day, month, year;
  prefix = ScanDatePrefix(line, day, month, year);
  if (day == Viewer.day && month == Viewer.month && year == Viewer.year)
    ShowReminder(line.substr(prefix), line.substr(0, prefix));  // the date as written
  else if (day == NoValue)
    ShowReminder(line.substr(prefix), PlainLineCaption);
}

}  // namespace

void ShowReminders() {
  // read only; others may read the file meanwhile but not write it
  ReminderFile file;
  file.handle = os::CreateFileA(ReminderFileName, os::GenericRead, os::FileShareRead,
                                os::OpenExisting, os::FileAttributeNormal);
  if (file.handle == os::InvalidHandle) return;
  std::string_view line;
  while (ReadLine(file, line)) ShowIfDue(line);
  os::CloseHandle(file.handle);
}
