#include "date_prefix.h"

#include <algorithm>

#include "ascii.h"
#include "viewer_state.h"

extern constexpr char WeekdayAbbreviations[] = "NE PO UT ST CT PA SO ";

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The position in the text is counted in 8 bits: a run of digits that
// reaches the 255th character is not a number.
constexpr std::size_t MaxDigits = 254;

// Whether a byte occurs in WeekdayAbbreviations: most texts are no weekday
// prefix, and their first byte tells it at once.
struct AbbreviationBytes {
  bool present[256] = {};
  constexpr AbbreviationBytes() {
    for (const char* p = WeekdayAbbreviations; *p != '\0'; ++p)
      present[static_cast<unsigned char>(*p)] = true;
  }
};
constexpr AbbreviationBytes InAbbreviations;

// The number that stands at `start`, with the blanks and dots after it; on
// return `start` is past them (but never past the text's last character).
// 255, and `start` unchanged, when no number stands there.
std::uint16_t ReadNumberAt(std::string_view text, std::size_t& start) {
  const char* const first = text.data() + start;
  const char* const limit = text.data() + std::min(text.size(), start + MaxDigits);
  const char* const last = text.data() + text.size();
  // modulo 65536 at the end is the same as after every step
  std::uint32_t value = 0;
  const char* p = first;
  for (; p < limit; ++p) {
    const std::uint32_t digit = static_cast<unsigned char>(*p) - std::uint32_t('0');
    if (digit > 9) break;
    value = value * 10 + digit;
  }
  if (p == first || (p < last && IsDigit(*p))) return NoValue;
  while (last - p > 1 && (*p == ' ' || *p == '.')) ++p;
  start = static_cast<std::size_t>(p - text.data());
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::uint16_t ReadLeadingNumber(std::string& text) {
  std::size_t end = 0;
  const std::uint16_t value = ReadNumberAt(text, end);
  text.erase(0, end);
  return value;
}

std::size_t ScanDatePrefix(std::string_view text, std::uint16_t& day, std::uint16_t& month,
                           std::uint16_t& year) {
  // the defaults are the displayed date as it is now: the caller may pass
  // the displayed date's own fields as the results
  const std::uint16_t displayedMonth = Viewer.month;
  const std::uint16_t displayedYear = Viewer.year;
  // three numbers in a row, each read where the one before ended
  std::size_t end = 0;
  day = ReadNumberAt(text, end) % 256;
  const std::uint16_t m = ReadNumberAt(text, end) % 256;
  const std::uint16_t y = ReadNumberAt(text, end);
  month = m == NoValue ? displayedMonth : m;
  year = y == NoValue ? displayedYear : y;
  if (year <= 90) year += 2000;
  if (year <= 99) year += 1900;
  return end;
}

void ParseDatePrefix(std::string& text, std::uint16_t& day, std::uint16_t& month,
                     std::uint16_t& year) {
  text.erase(0, ScanDatePrefix(text, day, month, year));
}

std::uint8_t ScanWeekdayPrefix(std::string_view text, std::size_t& length) {
  length = std::min<std::size_t>(text.size(), 3);
  if (length == 0 || !InAbbreviations.present[static_cast<unsigned char>(AsciiUpper(text[0]))])
    return NoValue;
  char head[3] = {};
  for (std::size_t i = 0; i < length; ++i) head[i] = AsciiUpper(text[i]);
  // the first place in the abbreviations that holds these characters
  const std::size_t places = sizeof WeekdayAbbreviations - 1 - length + 1;
  for (std::size_t found = 0; found < places; ++found) {
    const char* here = WeekdayAbbreviations + found;
    if (here[0] == head[0] && (length < 2 || here[1] == head[1]) &&
        (length < 3 || here[2] == head[2]))
      return static_cast<std::uint8_t>((found + 1) / 3);  // 1-based position div 3
  }
  return NoValue;
}

std::uint8_t ParseWeekdayPrefix(std::string& text) {
  std::size_t length;
  const std::uint8_t weekday = ScanWeekdayPrefix(text, length);
  if (weekday != NoValue) text.erase(0, length);
  return weekday;
}
