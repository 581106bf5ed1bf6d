// The records of a genome file and where their letters went. The genome string
// joins the accepted letters (a, c, g, t) of every record end to end; a record's
// own positions count every letter of the record as it stands in the file (N and
// the other skipped letters included), from 0. Runs map the one onto the other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvale {

// Genome letters [joinedStart, joinedStart + length) are record positions
// [recordStart, recordStart + length).
struct RecordRun {
  std::int64_t joinedStart;
  std::int64_t recordStart;
  std::int64_t length;
};

struct GenomeRecord {
  std::string name;          // first word of the header line; "" before any header
  std::int64_t joinedStart;  // the record's letters are [joinedStart, joinedEnd) of the genome
  std::int64_t joinedEnd;
  std::int64_t length;  // letters of the record in the file, skipped ones included
  std::vector<RecordRun> runs;
};

// One piece of a genome range inside one record: record positions [start, end).
struct RecordPiece {
  std::size_t record;
  std::int64_t start;
  std::int64_t end;
};

// Maps genome range [start, end) onto the records: one piece per record it touches,
// in order. A piece runs from the record position of its first letter to one past
// that of its last, so skipped letters between them are inside it. Ranges outside
// [0, genome length) are clipped to it.
std::vector<RecordPiece> recordPieces(const std::vector<GenomeRecord>& records, std::int64_t start,
                                      std::int64_t end);

// Record position of genome letter `at`, inside record `r` (which must hold it).
std::int64_t recordPosition(const GenomeRecord& r, std::int64_t at);

// The genome offset of record position `position` of `r`: the offset of that
// letter, or of the next accepted letter when it is a skipped one (N), or the
// record's end in the genome string after its last one.
std::int64_t joinedPosition(const GenomeRecord& r, std::int64_t position);

}  // namespace morvale
