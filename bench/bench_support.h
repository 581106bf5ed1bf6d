// Shared pieces of the benchmarks: generated genomes and a silent console.
#pragma once

#include <iostream>
#include <string>

#include "random_dna.h"

namespace morvale::bench {

using testing::randomDna;

// A 5 Mbp genome of even composition with low-GC segments planted every 500 kbp
// (20 kbp each, starting at 250 kbp).
const std::string& benchGenome();

// Discards standard output while alive (the assemblies' messages).
class QuietStdout {
 public:
  QuietStdout() : saved_(std::cout.rdbuf(&null_)) {}
  ~QuietStdout() { std::cout.rdbuf(saved_); }

 private:
  struct NullBuf : std::streambuf {
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  } null_;
  std::streambuf* saved_;
};

}  // namespace morvale::bench
