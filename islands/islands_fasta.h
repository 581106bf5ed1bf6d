// islands.fasta, both ways: one FASTA record per island piece, headed
// ">island_3 record:start-end" (record positions, 1-based and inclusive, as
// islands.tsv has them), then the piece's letters exactly as the genome file has
// them, 60 a line. The report writes it; islands across genomes are read from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvale {

struct IslandLetters {
  std::string island;  // "island_3", or "island_3_part1of2" for a piece
  std::string record;
  std::int64_t start = 0;  // record positions, 1-based and inclusive
  std::int64_t end = 0;
  std::string letters;
};

// The text of islands.fasta for `islands`, in their order.
std::string islandsFastaText(const std::vector<IslandLetters>& islands);

// Reads the islands.fasta at `path`, appending its islands. A record name may hold
// ':' itself; blank lines and carriage returns are passed over. "" or one line
// naming the file (and line) and the problem.
std::string readIslandsFasta(const std::string& path, std::vector<IslandLetters>& islands);

}  // namespace morvale
