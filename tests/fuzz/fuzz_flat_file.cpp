// Fuzzes the GenBank/EMBL reader: any text is read or refused with one line; a
// file read holds its letters and records as the genome reader would, and every
// feature has ordered segments from 0 on a record of the file.
#include <cstdint>
#include <set>

#include "genome/flat_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  morvale::FlatFile flat;
  std::string error;
  if (!morvale::readFlatFile(text, "f.gb", flat, error)) {
    if (error.empty() || error.find('\n') != std::string::npos) __builtin_trap();
    return 0;
  }
  const morvale::Genome& g = flat.genome;
  if (static_cast<std::size_t>(g.length) != g.letters.size() || g.records.empty()) __builtin_trap();
  std::set<std::string> records;
  std::int64_t next = 0;
  for (const morvale::GenomeRecord& r : g.records) {
    if (r.joinedStart != next || r.joinedEnd < r.joinedStart) __builtin_trap();
    next = r.joinedEnd;
    records.insert(r.name);
  }
  if (next != g.length) __builtin_trap();
  for (const morvale::Feature& f : flat.annotation.features) {
    if (f.segments.empty() || !records.count(f.record)) __builtin_trap();
    for (std::size_t s = 0; s < f.segments.size(); ++s) {
      const morvale::FeatureSegment& seg = f.segments[s];
      if (seg.start < 0 || seg.end <= seg.start) __builtin_trap();
      if (s > 0 && f.segments[s - 1].start > seg.start) __builtin_trap();
    }
  }
  return 0;
}
