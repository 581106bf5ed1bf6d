#include "report/islands_fasta.h"

#include <algorithm>

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
  constexpr std::int64_t kLine = 60;
  text.clear();
  for (const Piece& p : in.figures.pieces) {
    text += '>' + pieceName(p) + ' ' + recordName(in, p.record) + ':' +
            std::to_string(p.start + 1) + '-' + std::to_string(p.end) + '\n';
    const std::string& letters = recordLetters[p.record];
    for (std::int64_t at = p.start; at < p.end; at += kLine)
      text.append(letters, static_cast<std::size_t>(at),
                  static_cast<std::size_t>(std::min(kLine, p.end - at))) += '\n';
  }
  return true;
}

}  // namespace morvale::report
