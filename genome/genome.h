// Reading a genome file into the genome string: the letters A, C, G, T in either
// case, stored lower case, in file order; '>' (anywhere outside a header) starts a
// header skipped to the end of its line; every other byte is skipped. Positions are
// 0-based offsets into it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "genome/byte_source.h"
#include "genome/genome_records.h"

namespace morvale {

enum class GenomeStatus {
  kOk,
  kCannotOpen,  // the file could not be opened
  kCompressed,  // starts with the gzip magic bytes
  kGenBank,     // a GenBank flat file (first line LOCUS), not plain sequence
  kEmbl,        // an EMBL flat file (first line "ID   "), not plain sequence
                // (both after a UTF-8 byte-order mark and blank lines or spaces)
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
  // The first line (from 1) where a '>' inside a line, after other text, starts a
  // header; 0 when every header begins its line.
  std::int64_t headerInsideLine = 0;
};

// Builds a genome in one pass, record by record: the letters by the byte rules
// above, appended as they come, and the records they belong to.
class GenomeBuilder {
 public:
  // With `storeLetters` false the letters are only counted and mapped.
  GenomeBuilder(Genome& genome, bool storeLetters);
  // A header begins (the '>'); its first word, given by headerByte, names the record.
  void header();
  void headerByte(int c);
  // A header whose name is known whole.
  void namedRecord(const std::string& name);
  // A byte of sequence: an accepted letter, another letter or a gap sign that
  // takes a record position, or a byte that is skipped.
  void sequenceByte(int c);
  // Closes the last record and sets the genome's length.
  void finish();

 private:
  void ensureOpen();
  Genome& g_;
  bool store_;
  std::int64_t joined_ = 0;
  bool open_ = false;
  bool naming_ = false;
};

// Reads `source` in two passes: the first counts the accepted letters and maps the
// records, the second stores the letters in a string allocated once at its exact
// length. When L is at or below `stopAtOrBelow`, the second pass is skipped and the
// status is kTooShort (a scan's window-size check happens between the passes).
// Flat files and binary data are recognised from their first bytes.
Genome readGenomeFrom(ByteSource& source, std::int64_t stopAtOrBelow = -1);

// The same for a plain file; a gzip file is kCompressed.
Genome readgenome(const std::string& fileName, std::int64_t stopAtOrBelow = -1);

// A line naming a record name that two records of `genome` share ("two records are
// named X; ..."), "" when every name is its own. Tracks and tables name records, so
// such a genome cannot be reported.
std::string duplicateRecordProblem(const Genome& genome, const std::string& fileName);

// Record `r` of `genome` as a genome of its own: its letters, and the record with
// its positions as they are.
Genome recordGenome(const Genome& genome, std::size_t r);

// One line for a failed read, naming the file and the reason ("" for kOk/kTooShort).
std::string genomeErrorText(const Genome& genome, const std::string& fileName);

}  // namespace morvale
