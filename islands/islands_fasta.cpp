#include "islands/islands_fasta.h"

#include <algorithm>
#include <fstream>

#include "base/tokens.h"

namespace morvale {

std::string islandsFastaText(const std::vector<IslandLetters>& islands) {
  constexpr std::size_t kLine = 60;
  std::string text;
  for (const IslandLetters& i : islands) {
    text += '>' + i.island + ' ' + i.record + ':' + std::to_string(i.start) + '-' +
            std::to_string(i.end) + '\n';
    for (std::size_t at = 0; at < i.letters.size(); at += kLine)
      text.append(i.letters, at, std::min(kLine, i.letters.size() - at)) += '\n';
  }
  return text;
}

std::string readIslandsFasta(const std::string& path, std::vector<IslandLetters>& islands) {
  std::ifstream in(path);
  if (!in) return path + ": cannot open the islands' letters";
  const std::size_t first = islands.size();
  std::string line;
  for (long number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] != '>') {
      if (islands.size() == first)
        return path + " line " + std::to_string(number) + ": letters before '>'";
      islands.back().letters += line;
      continue;
    }
    const std::size_t space = line.find(' ');
    const std::size_t colon = line.rfind(':');
    const std::size_t dash = colon == std::string::npos ? colon : line.find('-', colon);
    long long start = 0, end = 0;
    if (space == std::string::npos || colon == std::string::npos || colon < space ||
        dash == std::string::npos ||
        !parseInteger(std::string_view(line).substr(colon + 1, dash - colon - 1), start) ||
        !parseInteger(std::string_view(line).substr(dash + 1), end) || start < 1 || end < start)
      return path + " line " + std::to_string(number) +
             ": not an island header (>island_N record:start-end)";
    IslandLetters island;
    island.island = line.substr(1, space - 1);
    island.record = line.substr(space + 1, colon - space - 1);
    island.start = start;
    island.end = end;
    islands.push_back(std::move(island));
  }
  if (in.bad()) return path + ": cannot read the islands' letters";
  return "";
}

}  // namespace morvale
