// The texts of the edition's year, built into the program.
#pragma once

#include <cstdint>

// 12 months x 31 day slots x 2 texts (Old, then New Testament), each the
// text's Windows-1250 bytes and one NUL; a day the year lacks has two empty
// entries.  Generated from viewer/texts/<year>.txt at build time.
extern const unsigned char DailyTextTable[];
extern const std::uint32_t DailyTextTableSize;

// Whether the table has a day slot for the month and day.
bool HasDailyTextSlot(std::uint16_t month, std::uint16_t day);

// The first and second text of the displayed month and day.  Both are
// emptied first; a date without a slot leaves them empty.
void LookUpDailyTexts();
