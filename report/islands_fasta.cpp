#include "report/islands_fasta.h"

#include "islands/islands_fasta.h"

namespace morvale::report {

bool islandsFasta(const LoadedRun& in, const std::vector<std::string>& recordLetters,
                  std::string& text, std::string& error) {
  bool matches = recordLetters.size() == in.genome.records.size();
  for (std::size_t r = 0; matches && r < recordLetters.size(); ++r)
    matches = static_cast<std::int64_t>(recordLetters[r].size()) == in.genome.records[r].length;
  if (!matches) {
    error = in.genomeFile + " changed while being read (its letters no longer match its records)";
    return false;
  }
  std::vector<IslandLetters> islands;
  for (const Piece& p : in.figures.pieces) {
    const std::string& letters = recordLetters[p.record];
    islands.push_back({pieceName(p), recordName(in, p.record), p.start + 1, p.end,
                       letters.substr(static_cast<std::size_t>(p.start),
                                      static_cast<std::size_t>(p.end - p.start))});
  }
  text = islandsFastaText(islands);
  return true;
}

}  // namespace morvale::report
