// Reading a genome file into the genome string: the letters A, C, G, T in either
// case, stored lower case, in file order; '>' starts a header skipped to the end of
// its line; every other byte is skipped. Positions are 0-based offsets into it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kmer/genome_records.h"

namespace morvale {

enum class GenomeStatus {
  kOk,
  kCannotOpen,  // the file could not be opened
  kCompressed,  // starts with the gzip magic bytes
  kGenBank,     // a GenBank flat file (first line LOCUS), not plain sequence
  kEmbl,        // an EMBL flat file (first line "ID   "), not plain sequence
  kBinary,      // holds NUL bytes: not a text file
  kReadError,   // a read failed part-way (a directory, an I/O error, a file that changed)
  kDamaged,     // compressed data that cannot be decompressed whole (set by the reader's caller)
  kTooShort,    // L is at or below the caller's limit; letters not stored
};

struct Genome {
  GenomeStatus status = GenomeStatus::kOk;
  int errorNumber = 0;                // errno of a failed open or read
  std::int64_t length = 0;            // L, the number of accepted letters
  std::string letters;                // the genome string, exactly L letters
  std::vector<GenomeRecord> records;  // in file order
};

// The bytes of a genome file, read front to back twice.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next byte (0..255), or -1 at the end or after a read error.
  virtual int next() = 0;
  // errno of a read error so far, 0 when none.
  virtual int readError() = 0;
  // Back to the first byte; false (errno in readError) when that fails.
  virtual bool rewind() = 0;
};

// Reads `source` in two passes: the first counts the accepted letters and maps the
// records, the second stores the letters in a string allocated once at its exact
// length. When L is at or below `stopAtOrBelow`, the second pass is skipped and the
// status is kTooShort (a scan's window-size check happens between the passes).
// Flat files and binary data are recognised from their first bytes.
Genome readGenomeFrom(ByteSource& source, std::int64_t stopAtOrBelow = -1);

// The same for a plain file; a gzip file is kCompressed.
Genome readgenome(const std::string& fileName, std::int64_t stopAtOrBelow = -1);

// Record `r` of `genome` as a genome of its own: its letters, and the record with
// its positions as they are.
Genome recordGenome(const Genome& genome, std::size_t r);

// One line for a failed read, naming the file and the reason ("" for kOk/kTooShort).
std::string genomeErrorText(const Genome& genome, const std::string& fileName);

}  // namespace morvale
