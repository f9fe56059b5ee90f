// The environment lookup over any environment block: the value it finds is
// the one a plain reading of the rules finds.  The first byte gives the
// length of the wanted name, which follows; the rest is the block, its
// entries separated by NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host.h"
#include "removal_handoff.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t length = std::min<std::size_t>(data[0] % 40, size - 1);
  const std::string name(reinterpret_cast<const char*>(data) + 1, length);
  if (name.find('\0') != std::string::npos) return 0;
  const std::string block(reinterpret_cast<const char*>(data) + 1 + length, size - 1 - length);

  // the block's entries up to the first empty one, which ends it
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (start < block.size()) {
    std::size_t end = block.find('\0', start);
    if (end == std::string::npos) end = block.size();
    if (end == start) break;
    entries.push_back(block.substr(start, end - start));
    start = end + 1;
  }

  std::string expected;
  for (const std::string& entry : entries) {
    const std::string text = entry.substr(0, 255);
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    if (!name.empty() && Upper(text.substr(0, equals)) == Upper(name)) {
      expected = text.substr(equals + 1);
      break;
    }
  }

  host::Reset();
  host::SetEnvironment(entries);
  const std::string value = GetEnvValue(name);
  if (value != expected || value.size() > 255) std::abort();
  if (host::OpenHandleCount() != 0) std::abort();
  return 0;
}
