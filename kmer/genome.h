// Reading a genome file into the genome string: the letters A, C, G, T in either
// case, stored lower case, in file order; '>' starts a header skipped to the end of
// its line; every other byte is skipped. Positions are 0-based offsets into it.
#pragma once

#include <cstdint>
#include <string>

namespace morvale {

enum class GenomeStatus {
  kOk,
  kCannotOpen,  // fopen failed
  kCompressed,  // starts with the gzip magic bytes
  kBinary,      // holds NUL bytes: not a text file
  kReadError,   // a read failed part-way (a directory, an I/O error)
  kTooShort,    // L is at or below the caller's limit; letters not stored
};

struct Genome {
  GenomeStatus status = GenomeStatus::kOk;
  int errorNumber = 0;      // errno of a failed open or read
  std::int64_t length = 0;  // L, the number of accepted letters
  std::string letters;      // the genome string, exactly L letters
};

// Reads `fileName` in two passes with fgetc: the first counts the accepted letters,
// the second stores them in a string allocated once at its exact length. When L is
// at or below `stopAtOrBelow`, the second pass is skipped and the status is
// kTooShort (a scan's window-size check happens between the passes).
Genome readgenome(const std::string& fileName, std::int64_t stopAtOrBelow = -1);

// One line for a failed read, naming the file and the reason ("" for kOk/kTooShort).
std::string genomeErrorText(const Genome& genome, const std::string& fileName);

}  // namespace morvale
