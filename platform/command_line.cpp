#include "command_line.h"

namespace {

constexpr std::size_t MaxArgumentLength = 255;

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

std::vector<std::string> SplitArguments(const std::string& commandLine) {
  std::vector<std::string> items;
  const std::size_t n = commandLine.size();
  std::size_t i = 0;
  for (;;) {
    while (i < n && IsSeparator(commandLine[i])) ++i;
    if (i >= n) break;
    std::size_t begin, end;
    const char first = commandLine[i];
    if (first == '"' || first == '\'') {
      begin = i + 1;
      end = commandLine.find(first, begin);
      if (end == std::string::npos) end = n;
      i = end < n ? end + 1 : n;
    } else {
      begin = i;
      end = begin;
      while (end < n && !IsSeparator(commandLine[end])) ++end;
      i = end;
    }
    items.push_back(commandLine.substr(begin, end - begin));
  }
  if (!items.empty()) items.erase(items.begin());
  for (std::string& item : items)
    if (item.size() > MaxArgumentLength) item.resize(MaxArgumentLength);
  return items;
}
