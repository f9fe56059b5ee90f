// A fresh simulated machine for each test: drive C: in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "cp1250.h"
#include "host.h"

class Sandbox : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string root;  // the folder that holds drive C:
};

// A UTF-8 literal as the Windows-1250 bytes the programs use.
inline std::string Cp(const std::string& utf8) { return Utf8ToCp1250(utf8); }
