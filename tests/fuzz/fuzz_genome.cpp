// Fuzzes the genome reader: any bytes give a status; an accepted genome holds
// exactly its counted letters, all of them a, c, g or t, and its records cover the
// letters end to end, each letter at a position inside its record.
#include "fuzz_input.h"
#include "genome/genome.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string name = morvale::fuzz::scratchFile("genome.fa");
  morvale::fuzz::writeInput(name, data, size);
  const morvale::Genome g = morvale::readgenome(name, size % 7 == 0 ? 3 : -1);
  if (g.status != morvale::GenomeStatus::kOk) return 0;
  if (static_cast<std::size_t>(g.length) != g.letters.size()) __builtin_trap();
  for (char c : g.letters)
    if (c != 'a' && c != 'c' && c != 'g' && c != 't') __builtin_trap();
  std::int64_t next = 0;
  for (const morvale::GenomeRecord& r : g.records) {
    if (r.joinedStart != next || r.joinedEnd < r.joinedStart) __builtin_trap();
    std::int64_t previous = -1;
    for (std::int64_t at = r.joinedStart; at < r.joinedEnd; ++at) {
      const std::int64_t pos = morvale::recordPosition(r, at);
      if (pos <= previous || pos >= r.length) __builtin_trap();
      previous = pos;
    }
    next = r.joinedEnd;
  }
  if (next != g.length) __builtin_trap();
  return 0;
}
