// Shared pieces of the benchmarks: generated genomes and a silent console.
#pragma once

#include <iostream>
#include <string>

#include "app/platform.h"
#include "random_dna.h"

namespace morvale::bench {

using testing::randomDna;

// A 5 Mbp genome of even composition with low-GC segments planted every 500 kbp
// (20 kbp each, starting at 250 kbp), written once to a temporary file.
const std::string& benchGenomeFile();

// Pins the clock, silences the screen clear and discards standard output while alive.
class QuietConsole : public Platform {
 public:
  QuietConsole();
  ~QuietConsole() override;
  std::time_t now() override { return 7; }
  void clearScreen(std::ostream&) override {}

 private:
  std::streambuf* saved_;
  struct NullBuf : std::streambuf {
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  } null_;
};

}  // namespace morvale::bench
