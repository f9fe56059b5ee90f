// The owner window after "@": whatever the five characters, a number of the
// base they name modulo 65536, or 0; compared with the C library's reading.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "viewer_main.h"

namespace {

// The same reading done with strtoul, from the rules as users read them.
std::uint16_t Expected(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  if (text[i] == '+') ++i;
  int base = 10;
  const char* digits = "0123456789";
  if (i < text.size() && text[i] == '$') {
    base = 16;
    digits = "0123456789ABCDEFabcdef";
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    base = 2;
    digits = "01";
    ++i;
  }
  const std::string number = text.substr(i);
  if (number.empty() || number.find_first_not_of(digits) != std::string::npos) return 0;
  return static_cast<std::uint16_t>(std::strtoul(number.c_str(), nullptr, base) % 65536);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // the viewer passes at most five characters; the reading copes with more
  const std::string text(reinterpret_cast<const char*>(data), size < 5 ? size : 5);
  if (ReadOwnerWindow(text) != Expected(text)) std::abort();
  const std::string whole(reinterpret_cast<const char*>(data), size);
  ReadOwnerWindow(whole);
  return 0;
}
