#include "sandbox.h"

#include <stdlib.h>

#include <filesystem>

void Sandbox::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvola-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
  root = pattern;
  host::Reset(root);
}

void Sandbox::TearDown() {
  // every file a program opened is closed again when it is done
  EXPECT_EQ(host::OpenHandleCount(), 0u);
  host::Reset();
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
}
