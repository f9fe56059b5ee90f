#include "edition.h"

#include <gtest/gtest.h>

#include "viewer_main.h"

namespace {

TEST(Edition, FileNamesOfTheYears) {
  const std::pair<unsigned, const char*> cases[] = {
      {1999, ""},        {2000, ""},         {2001, "DV.EXE"},    {2002, "DV2.EXE"},
      {2003, "DV3.EXE"}, {2010, "DV10.EXE"}, {2100, "DV100.EXE"}, {65535, "DV63535.EXE"},
  };
  for (const auto& c : cases) EXPECT_EQ(EditionFileName(c.first), c.second) << c.first;
}

TEST(Edition, DirectoryOfAPath) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\APPS\\DV2.EXE", "C:\\APPS\\"},
      {"C:DV2.EXE", "C:"},
      {"DV2.EXE", ""},
      {"/usr/bin/DV2.EXE", ""},
      {"C:\\a/b/DV2.EXE", "C:\\"},
      {"C:\\APPS\\", "C:\\APPS\\"},
      {"\\\\server\\share\\DV2.EXE", "\\\\server\\share\\"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractDirectory(c.first), c.second) << c.first;
}

TEST(Edition, NumberToText) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "0"}, {10, "10"}, {-5, "-5"}, {2002, "2002"}, {65535, "65535"},
      {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToText(c.first), c.second) << c.first;
}

}  // namespace
