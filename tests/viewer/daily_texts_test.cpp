#include "daily_texts.h"

#include <gtest/gtest.h>

#include <cstring>

#include "table_entries.h"
#include "viewer_state.h"

namespace {

bool DayExists(int year, int month, int day) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= days[month - 1] + (month == 2 && leap ? 1 : 0);
}

void LookUp(int month, int day) {
  Viewer.month = static_cast<std::uint16_t>(month);
  Viewer.day = static_cast<std::uint16_t>(day);
  LookUpDailyTexts();
}

TEST(DailyTextTable, TwelveMonthsOf31DaySlotsOfTwoTexts) {
  const std::vector<std::string> entries = TableEntries();
  ASSERT_EQ(entries.size(), 744u);
  EXPECT_EQ(DailyTextTable[DailyTextTableSize - 1], 0);
  // the days the year does not have are empty; the year's texts have the
  // shape of a verse and its reference
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= 31; ++day) {
      for (std::size_t n = SlotOf(month, day); n < SlotOf(month, day) + 2; ++n) {
        const std::string& text = entries[n];
        if (!DayExists(EditionYear, month, day)) {
          EXPECT_EQ(text, "") << month << "/" << day;
          continue;
        }
        if (text.empty()) continue;  // a day without its texts yet
        EXPECT_EQ(text.back(), ')') << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '('), 1) << text;
        EXPECT_EQ(text.find("  "), std::string::npos) << text;
        for (unsigned char c : text) EXPECT_GE(c, 0x20) << text;
      }
    }
  }
}

TEST(DailyTextTable, LookUpFindsTheEntriesOfEachDaySlot) {
  const std::vector<std::string> entries = TableEntries();
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= 31; ++day) {
      LookUp(month, day);
      EXPECT_EQ(Viewer.firstText, entries[SlotOf(month, day)]) << month << "/" << day;
      EXPECT_EQ(Viewer.secondText, entries[SlotOf(month, day) + 1]) << month << "/" << day;
    }
  }
}

TEST(DailyTextTable, FirstAndLastEntriesAndTheDaysAroundFebruary) {
  const char* table = reinterpret_cast<const char*>(DailyTextTable);
  LookUp(1, 1);
  EXPECT_EQ(Viewer.firstText, std::string(table));  // starts at the first byte
  EXPECT_FALSE(Viewer.firstText.empty());
  EXPECT_FALSE(Viewer.secondText.empty());
  LookUp(12, 31);
  EXPECT_FALSE(Viewer.secondText.empty());
  // the second text of 31 December ends at the table's last NUL
  EXPECT_EQ(std::memcmp(table + DailyTextTableSize - 1 - Viewer.secondText.size(),
                        Viewer.secondText.data(), Viewer.secondText.size()),
            0);
  LookUp(2, 28);
  EXPECT_FALSE(Viewer.firstText.empty());
  EXPECT_FALSE(Viewer.secondText.empty());
  LookUp(5, 1);
  EXPECT_FALSE(Viewer.firstText.empty());
  for (int day : {29, 30, 31}) {
    LookUp(2, day);
    EXPECT_EQ(Viewer.firstText, "");
    EXPECT_EQ(Viewer.secondText, "");
  }
  LookUp(4, 31);
  EXPECT_EQ(Viewer.firstText, "");
}

TEST(DailyTextTable, NoBreakSpacesStayAsTheyAre) {
  // 1 January: a one-letter word and the reference carry 0xA0
  LookUp(1, 1);
  EXPECT_NE(Viewer.firstText.find('\xA0'), std::string::npos);
  EXPECT_EQ(Viewer.firstText.find(" ("), Viewer.firstText.rfind('(') - 1);
  const std::string reference = Viewer.firstText.substr(Viewer.firstText.rfind('('));
  EXPECT_EQ(reference.find(' '), std::string::npos) << reference;
  EXPECT_NE(reference.find('\xA0'), std::string::npos) << reference;
}

TEST(DailyTextTable, ALookUpLeavesNothingOfTheOneBefore) {
  LookUp(1, 1);
  LookUp(2, 30);
  EXPECT_EQ(Viewer.firstText, "");
  EXPECT_EQ(Viewer.secondText, "");
  LookUp(12, 31);
  const std::string last = Viewer.secondText;
  LookUp(1, 1);
  EXPECT_NE(Viewer.secondText, last);
}

TEST(DailyTextTable, DatesWithoutASlotGiveNothing) {
  const std::pair<int, int> dates[] = {{0, 1}, {13, 1}, {254, 1}, {1, 0}, {1, 32}, {12, 254}};
  for (const auto& date : dates) {
    LookUp(1, 1);
    LookUp(date.first, date.second);
    EXPECT_EQ(Viewer.firstText, "") << date.first << "/" << date.second;
    EXPECT_EQ(Viewer.secondText, "") << date.first << "/" << date.second;
  }
}

}  // namespace
