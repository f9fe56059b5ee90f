#include "date_prefix.h"

#include <gtest/gtest.h>

#include "viewer_state.h"

namespace {

// The displayed date the defaults come from: 5 March 2002.
class DatePrefix : public ::testing::Test {
 protected:
  void SetUp() override {
    Viewer = ViewerState();
    Viewer.year = 2002;
    Viewer.month = 3;
    Viewer.day = 5;
  }
};

struct DateCase {
  std::string text;
  std::uint16_t day, month, year;
  std::string rest;
};

TEST_F(DatePrefix, DayMonthAndYear) {
  const DateCase cases[] = {
      {"24.12.2002 Text", 24, 12, 2002, "Text"},
      {"24. 12. 2002 Text", 24, 12, 2002, "Text"},
      {"24 12 2002 Text", 24, 12, 2002, "Text"},
      {"24.12.2002Text", 24, 12, 2002, "Text"},
      {"24.12. Text", 24, 12, 2002, "Text"},
      {"24 Text", 24, 3, 2002, "Text"},
      {"Text", 255, 3, 2002, "Text"},
      {"", 255, 3, 2002, ""},
      {"24-12-2002", 24, 3, 2002, "-12-2002"},
      {"24/12", 24, 3, 2002, "/12"},
      {"24,12", 24, 3, 2002, ",12"},
      {"24\t12", 24, 3, 2002, "\t12"},
      {"24.12.02", 24, 12, 2002, ""},
      {"24.12.0", 24, 12, 2000, ""},
      {"24.12.90", 24, 12, 2090, ""},
      {"24.12.91", 24, 12, 1991, ""},
      {"24.12.99", 24, 12, 1999, ""},
      {"24.12.100", 24, 12, 100, ""},
      {"24.12.", 24, 12, 2002, "."},
      {"7 ", 7, 3, 2002, " "},
      {"280.1.", 24, 1, 2002, "."},
      {"256.1.", 0, 1, 2002, "."},
      {"255.1.", 255, 1, 2002, "."},
      {"511.1.", 255, 1, 2002, "."},
      {"24.255.", 24, 3, 2002, "."},
      {"24.511.", 24, 3, 2002, "."},
      {"24.12.255 x", 24, 12, 2002, "x"},
      {"1.1.65536 x", 1, 1, 2000, "x"},  // 65536 is 0 in 16 bits
      {"40.13.2002", 40, 13, 2002, ""},
      {"1..  . 2", 1, 2, 2002, ""},
  };
  for (const DateCase& c : cases) {
    std::string text = c.text;
    std::uint16_t day = 1, month = 1, year = 1;
    ParseDatePrefix(text, day, month, year);
    EXPECT_EQ(day, c.day) << c.text;
    EXPECT_EQ(month, c.month) << c.text;
    EXPECT_EQ(year, c.year) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
}

TEST_F(DatePrefix, DefaultsAreTheDisplayedDateWhenTheCallBegins) {
  // the command line passes the displayed date's own fields as the results
  std::string text = "24";
  ParseDatePrefix(text, Viewer.day, Viewer.month, Viewer.year);
  EXPECT_EQ(Viewer.day, 24);
  EXPECT_EQ(Viewer.month, 3);
  EXPECT_EQ(Viewer.year, 2002);
}

TEST_F(DatePrefix, LongNumbers) {
  // 254 digits are still a number (taken modulo 65536); 255 are none
  std::string text = std::string(253, '0') + "7 x";
  EXPECT_EQ(ReadLeadingNumber(text), 7);
  EXPECT_EQ(text, "x");
  const std::string digits255 = std::string(255, '1') + " x";
  text = digits255;
  EXPECT_EQ(ReadLeadingNumber(text), 255);
  EXPECT_EQ(text, digits255);
  const std::string digits300 = std::string(300, '9');
  text = digits300;
  EXPECT_EQ(ReadLeadingNumber(text), 255);
  EXPECT_EQ(text, digits300);
  std::uint16_t day, month, year;
  text = digits255;
  ParseDatePrefix(text, day, month, year);
  EXPECT_EQ(day, 255);
  EXPECT_EQ(text, digits255);

  text = "65535";
  EXPECT_EQ(ReadLeadingNumber(text), 65535);
  text = "65536";
  EXPECT_EQ(ReadLeadingNumber(text), 0);
  text = "123";
  EXPECT_EQ(ReadLeadingNumber(text), 123);
  EXPECT_EQ(text, "");
}

TEST_F(DatePrefix, BlanksAndDotsAfterANumberMayRunPastTheFirst255Characters) {
  std::string text = "1" + std::string(300, ' ') + ". x";
  EXPECT_EQ(ReadLeadingNumber(text), 1);
  EXPECT_EQ(text, "x");
  text = "1" + std::string(300, '.');
  EXPECT_EQ(ReadLeadingNumber(text), 1);
  EXPECT_EQ(text, ".");
}

struct WeekdayCase {
  std::string text;
  int weekday;
  std::string rest;
};

TEST(WeekdayPrefix, AbbreviationsAndWhatTheyFind) {
  const WeekdayCase cases[] = {
      {"po text", 1, "text"},
      {"Po text", 1, "text"},
      {"PO text", 1, "text"},
      {"Po  text", 1, " text"},
      {"Ne", 0, ""},
      {"pa", 5, ""},
      {"so x", 6, "x"},
      {"ct x", 4, "x"},
      {"ST", 3, ""},
      {"ut", 2, ""},
      {"Pond\xEC" "l\xED", 255, "Pond\xEC" "l\xED"},  // "Pondělí": PON is no abbreviation
      {"Po:", 255, "Po:"},
      {"P\xE1 x", 255, "P\xE1 x"},  // "Pá" with its accent
      {"\xDAt x", 255, "\xDAt x"},  // "Út"
      {"", 255, ""},
      {"Text", 255, "Text"},
      // three characters across two abbreviations count for the first
      {"E Pxx", 0, "xx"},
      {"O Uxx", 1, "xx"},
      {"T Sxx", 2, "xx"},
      {"T Cxx", 3, "xx"},
      {"T Pxx", 4, "xx"},
      {"A Sxx", 5, "xx"},
      {"a sraz", 5, "raz"},
      {"P", 1, ""},
      {"E", 0, ""},
      {"T", 2, ""},
  };
  for (const WeekdayCase& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(ParseWeekdayPrefix(text), c.weekday) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
}

}  // namespace
