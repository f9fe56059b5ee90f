// Dates and weekdays at the front of any text: what is read is taken off the
// front and nothing else; the values stay in their ranges; the scanning and
// the removing forms agree; the weekday agrees with a plain search of the
// abbreviations.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "date_prefix.h"
#include "fuzz_support.h"
#include "viewer_state.h"

namespace {

bool IsSuffix(const std::string& rest, const std::string& text) {
  return rest.size() <= text.size() && text.compare(text.size() - rest.size(), rest.size(), rest) == 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Viewer = ViewerState();
  Viewer.year = 2002;
  Viewer.month = 3;
  Viewer.day = 5;
  const std::string text(reinterpret_cast<const char*>(data), size);

  // one number: digits, then blanks and dots, never the last character
  // after digits
  std::string rest = text;
  const std::uint16_t number = ReadLeadingNumber(rest);
  Check(IsSuffix(rest, text));
  const std::string taken = text.substr(0, text.size() - rest.size());
  std::size_t digits = 0;
  while (digits < taken.size() && IsDigit(taken[digits])) ++digits;
  for (std::size_t i = digits; i < taken.size(); ++i) Check(taken[i] == ' ' || taken[i] == '.');
  Check(taken.empty() || digits > 0);
  Check(rest.empty() ? taken.size() == digits : true);
  if (text.empty() || !IsDigit(text[0])) Check(number == NoValue && rest == text);

  // a date: day and month in 8 bits, a year from 100 on
  rest = text;
  std::uint16_t day, month, year;
  ParseDatePrefix(rest, day, month, year);
  Check(IsSuffix(rest, text));
  Check(day <= 255 && month <= 255 && year >= 100);
  if (text.empty() || !IsDigit(text[0])) Check(day == NoValue && month == 3 && year == 2002 && rest == text);
  std::uint16_t scannedDay, scannedMonth, scannedYear;
  const std::size_t length = ScanDatePrefix(text, scannedDay, scannedMonth, scannedYear);
  Check(length == text.size() - rest.size());
  Check(scannedDay == day && scannedMonth == month && scannedYear == year);

  // a weekday: the first three characters in upper case, found anywhere in
  // the abbreviations
  rest = text;
  const std::uint8_t weekday = ParseWeekdayPrefix(rest);
  std::string head = text.substr(0, 3);
  for (char& c : head)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const std::size_t found = head.empty() ? std::string::npos : std::string(WeekdayAbbreviations).find(head);
  if (found == std::string::npos) {
    Check(weekday == NoValue && rest == text);
  } else {
    Check(weekday == (found + 1) / 3 && weekday <= 6);
    Check(rest == text.substr(head.size()));
  }
  return 0;
}
