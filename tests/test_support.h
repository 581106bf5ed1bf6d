// Shared fixtures: a pinned clock with a silent screen, and a scratch working
// directory so result files land somewhere private.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/platform.h"
#include "random_dna.h"

namespace morvale::testing {

class PinnedPlatform : public Platform {
 public:
  std::time_t seed = 12345;
  int clears = 0;
  std::time_t now() override { return seed; }
  void clearScreen(std::ostream&) override { ++clears; }
};

// Runs each test in a fresh temporary directory with the pinned platform.
class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string dir_;
  std::string previous_;
  PinnedPlatform platform_;
};

void writeFile(const std::string& name, const std::string& content);
std::string readFile(const std::string& name);
bool fileExists(const std::string& name);

}  // namespace morvale::testing
