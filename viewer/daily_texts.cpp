#include "daily_texts.h"

#include <cstring>

#include "viewer_state.h"

namespace {

// Length of the entry that starts at p, without its NUL; an entry that is
// not terminated within the table ends with it.
std::uint32_t EntryLength(std::uint32_t p) {
  const void* nul = std::memchr(DailyTextTable + p, 0, DailyTextTableSize - p);
  if (nul == nullptr) return DailyTextTableSize - p;
  return static_cast<std::uint32_t>(static_cast<const unsigned char*>(nul) - (DailyTextTable + p));
}

// Position of the entry after the one at p.
std::uint32_t NextEntry(std::uint32_t p) { return p + EntryLength(p) + 1; }

std::string EntryAt(std::uint32_t p) {
  if (p >= DailyTextTableSize) return std::string();
  return std::string(reinterpret_cast<const char*>(DailyTextTable) + p, EntryLength(p));
}

}  // namespace

bool HasDailyTextSlot(std::uint16_t month, std::uint16_t day) {
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

void LookUpDailyTexts() {
  Viewer.firstText.clear();
  Viewer.secondText.clear();
  if (!HasDailyTextSlot(Viewer.month, Viewer.day)) return;
  const std::uint16_t slot =
      static_cast<std::uint16_t>(((Viewer.month - 1) * 31 + (Viewer.day - 1)) * 2);
  // every lookup walks the table from its first byte: it has no index
  std::uint32_t p = 0;
  for (std::uint16_t entry = 1; entry <= slot && p < DailyTextTableSize; ++entry)
    p = NextEntry(p);
  Viewer.firstText = EntryAt(p);
  if (p < DailyTextTableSize) Viewer.secondText = EntryAt(NextEntry(p));
}
