// Dates and weekdays written at the front of a text: on the command line
// and at the start of each reminder line.  Each operation removes what it
// has read and leaves the rest of the text; 255 means "not given".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "NE PO UT ST CT PA SO ": Sunday first, each followed by one blank.
extern const char WeekdayAbbreviations[];

// The number at the front of the text, modulo 65536, with the blanks and
// dots after it (the text's last character always stays); 255 when the text
// does not begin with a digit or begins with 255 or more digits.
std::uint16_t ReadLeadingNumber(std::string& text);

// Day, then optional month and year.  A missing month or year is the
// displayed one as it is when the call begins; a missing day stays 255.
// Two-digit years: 0..90 are 2000..2090, 91..99 are 1991..1999.
void ParseDatePrefix(std::string& text, std::uint16_t& day,
                     std::uint16_t& month, std::uint16_t& year);

// ParseDatePrefix without removing anything: the number of characters at
// the front of the text that it would remove.
std::size_t ScanDatePrefix(std::string_view text, std::uint16_t& day,
                           std::uint16_t& month, std::uint16_t& year);

// ParseWeekdayPrefix without removing anything; `length` is set to the
// number of characters it would remove.
std::uint8_t ScanWeekdayPrefix(std::string_view text, std::size_t& length);

// The weekday 0..6 whose abbreviation the first three characters of the
// text (in upper or lower case) find in WeekdayAbbreviations, or 255.
std::uint8_t ParseWeekdayPrefix(std::string& text);
