// Fuzzes the genome reader: any bytes give a status, and an accepted genome holds
// exactly its counted letters, all of them a, c, g or t.
#include "fuzz_input.h"
#include "kmer/genome.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string name = morvale::fuzz::scratchFile("genome.fa");
  morvale::fuzz::writeInput(name, data, size);
  const morvale::Genome g = morvale::readgenome(name, size % 7 == 0 ? 3 : -1);
  if (g.status == morvale::GenomeStatus::kOk) {
    if (static_cast<std::size_t>(g.length) != g.letters.size()) __builtin_trap();
    for (char c : g.letters)
      if (c != 'a' && c != 'c' && c != 'g' && c != 't') __builtin_trap();
  }
  return 0;
}
