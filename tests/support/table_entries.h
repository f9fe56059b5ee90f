// The built-in table split at its NULs, to compare the lookup with.
#pragma once

#include <string>
#include <vector>

#include "daily_texts.h"

inline std::vector<std::string> TableEntries() {
  std::vector<std::string> entries(1);
  for (std::uint32_t i = 0; i < DailyTextTableSize; ++i) {
    if (DailyTextTable[i] == 0)
      entries.emplace_back();
    else
      entries.back() += static_cast<char>(DailyTextTable[i]);
  }
  entries.pop_back();  // after the last NUL
  return entries;
}

// The entry numbers of a date: ((month - 1) * 31 + day - 1) * 2 and the next.
inline std::size_t SlotOf(int month, int day) { return ((month - 1) * 31 + day - 1) * 2; }
