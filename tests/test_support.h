// Shared fixtures: a pinned clock with a silent screen, a scratch working folder so
// result files land somewhere private, and small file helpers.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "base/console.h"
#include "random_dna.h"

namespace morvale::testing {

class PinnedConsole : public Console {
 public:
  std::time_t seed = 12345;
  int clears = 0;
  std::time_t now() override { return seed; }
  void clearScreen(std::ostream&) override { ++clears; }
  bool errorsShareTheScreen() override { return false; }
};

// Runs each test in a fresh temporary folder.
class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string dir_;
  std::string previous_;
  PinnedConsole console_;
};

// 65,000 letters: 30,000 even ones, 10,000 poor in g and c from 30,000, 25,000 even.
std::string plantedGenome();
// The parts of `text` between the `sep` characters (empty parts kept).
std::vector<std::string> split(const std::string& text, char sep);
bool endsWith(const std::string& text, const std::string& tail);
void writeFile(const std::string& name, const std::string& content);
std::string readFile(const std::string& name);
bool fileExists(const std::string& name);
// A process id that no process has now: a child that has ended and been reaped.
pid_t goneProcess();

// Standard output and standard error of the code run while it lives; out() and
// err() stop the capture (once) and return what each stream got.
class CapturedOutput {
 public:
  CapturedOutput();
  ~CapturedOutput() { stop(); }
  std::string out() { return stop(), out_; }
  std::string err() { return stop(), err_; }

 private:
  void stop();
  bool stopped_ = false;
  std::string out_;
  std::string err_;
};

}  // namespace morvale::testing
