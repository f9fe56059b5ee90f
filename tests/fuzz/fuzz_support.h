// What the fuzz targets share: stating a property, and a sandbox folder.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// A property that does not hold: said on standard error with the target's
// file and line, then the run ends and libFuzzer keeps the input.
inline void FailProperty(const char* file, int line, const char* property) {
  std::fprintf(stderr, "%s:%d: does not hold: %s\n", file, line, property);
  std::abort();
}
#define Check(property) ((property) ? void() : FailProperty(__FILE__, __LINE__, #property))

// A folder of this run's own for the simulated drive C:, made once.
inline const std::string& SandboxRoot() {
  static const std::string root = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvola-fuzz-XXXXXX").string();
    Check(mkdtemp(&pattern[0]) != nullptr);
    return pattern;
  }();
  return root;
}
