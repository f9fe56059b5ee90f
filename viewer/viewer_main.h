// The run of the viewer, from its arguments to its last message box.
#pragma once

#include <cstdint>
#include <string>

// The whole run: arguments, owner window, date, then the day's texts or the
// edition of another year, and the reminders.
void ViewerMain();

// Decimal digits of a number, "-" in front when it is negative.
std::string NumberToText(std::int32_t number);

// Today's date and weekday from one reading of the local clock.
void GetToday(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day,
              std::uint16_t& weekday);

// The owner window named by the at most five characters after an "@": an
// unsigned number, decimal, "$" hexadecimal or "%" binary, after optional
// blanks, tabs and "+"; anything else gives 0.  The low 16 bits are kept.
std::uint16_t ReadOwnerWindow(const std::string& digits);
