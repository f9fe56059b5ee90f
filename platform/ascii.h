// Names compared without regard to case, as the programs and the system
// they run on compare them here: only the ASCII letters a-z count as the
// lower case of A-Z; every other byte, Czech letters included, stays itself.
#pragma once

#include <string>

inline char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string AsciiUpper(std::string text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}

inline bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}
