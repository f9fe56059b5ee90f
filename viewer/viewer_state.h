// What one run of the viewer knows: the displayed date, today's weekday, the
// owner of its message boxes, its arguments and the day's two texts.
#pragma once

#include <cstdint>
#include <string>

#ifndef EDITION_YEAR
#error "EDITION_YEAR must name the year of the edition's texts"
#endif

// The year whose texts this edition carries, as a number and as text.
constexpr std::uint16_t EditionYear = EDITION_YEAR;
#define EDITION_YEAR_TEXT_(year) #year
#define EDITION_YEAR_TEXT_OF(year) EDITION_YEAR_TEXT_(year)
#define EDITION_YEAR_TEXT EDITION_YEAR_TEXT_OF(EDITION_YEAR)

// No value given: no number, a date part left out, no weekday prefix.
constexpr std::uint16_t NoValue = 255;

struct ViewerState {
  // displayed date: first today's, then the one the arguments name
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day = 0;
  // today's weekday from the clock, 0 = Sunday .. 6 = Saturday
  std::uint16_t todayWeekday = 0;
  // low 16 bits of the window that owns every box, 0 = none
  std::uint16_t ownerWindow = 0;
  std::string argumentText;  // the arguments joined by single blanks
  std::string dateCaption;   // the displayed date as the captions write it
  std::string firstText;     // the Old Testament text of the day ("SZ")
  std::string secondText;    // the New Testament text of the day ("NZ")
};

// The viewer's one state, alive for the whole process.
extern ViewerState Viewer;
