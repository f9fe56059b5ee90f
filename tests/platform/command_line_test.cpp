#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
  const char* line;
  std::vector<std::string> arguments;
};

TEST(SplitArguments, ItemsOfTheCommandLine) {
  const Case cases[] = {
      {"DV2.EXE", {}},
      {"", {}},
      {"   ", {}},
      {"DV2.EXE 5. 4.", {"5.", "4."}},
      {"\"C:\\Program Files\\Orvola\\DV2.EXE\" 15.3.2002 @12345", {"15.3.2002", "@12345"}},
      {"'C:\\Program Files\\DV2.EXE' x", {"x"}},
      {"DV2.EXE \"\"", {""}},
      {"DV2.EXE \"\" \"\"", {"", ""}},
      {"DV2.EXE \"a b\"c", {"a b", "c"}},
      {"DV2.EXE 'a \"b' c", {"a \"b", "c"}},
      {"DV2.EXE a\"b c'd", {"a\"b", "c'd"}},
      {"DV2.EXE \"open to the end", {"open to the end"}},
      {"DV2.EXE \t\r 1.\t2.\r3.", {"1.", "2.", "3."}},
      {"DV2.EXE a\nb", {"a\nb"}},
      {"DV2.EXE\t\"\"x y", {"", "x", "y"}},
      {"\"\"x y", {"x", "y"}},
      {"prog\"x y\" z", {"y\"", "z"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitArguments(c.line), c.arguments) << c.line;
}

TEST(SplitArguments, EachArgumentKeepsItsFirst255Characters) {
  const std::string longer(300, 'x');
  const std::vector<std::string> arguments =
      SplitArguments("DV2.EXE " + longer + " \"" + longer + "\" " + std::string(255, 'y'));
  ASSERT_EQ(arguments.size(), 3u);
  EXPECT_EQ(arguments[0], std::string(255, 'x'));
  EXPECT_EQ(arguments[1], std::string(255, 'x'));
  EXPECT_EQ(arguments[2], std::string(255, 'y'));
}

TEST(SplitArguments, ManyArguments) {
  std::string line = "DV2.EXE";
  for (int i = 0; i < 10000; ++i) line += " a";
  EXPECT_EQ(SplitArguments(line), std::vector<std::string>(10000, "a"));
}

}  // namespace
