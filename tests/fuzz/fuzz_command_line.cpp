// Any command line splits into arguments that stand in it, each at most 255
// characters long.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  for (const std::string& argument : SplitArguments(line)) {
    if (argument.size() > 255) std::abort();
    if (line.find(argument) == std::string::npos) std::abort();
  }
  return 0;
}
