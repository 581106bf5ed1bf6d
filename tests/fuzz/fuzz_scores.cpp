// Fuzzes the window-score reader of both island assemblies: any file gives an
// islands file of whole lines of two integers; the first phase's islands stand in
// ascending order without overlap, since its windows are sorted by start.
#include <fstream>
#include <sstream>

#include "fuzz_input.h"
#include "islands/island_one.h"
#include "islands/island_two.h"

namespace {

// The islands file's lines, or a trap when one is not "integer TAB integer".
std::vector<std::pair<long long, long long>> islandLines(const std::string& name) {
  std::ifstream in(name);
  std::vector<std::pair<long long, long long>> lines;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    long long start, end;
    std::string rest;
    if (!(fields >> start >> end) || (fields >> rest) || line.find('\t') == std::string::npos)
      __builtin_trap();
    lines.emplace_back(start, end);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string scores = morvale::fuzz::scratchFile("scores.txt");
  static const std::string islands = morvale::fuzz::scratchFile("islands.txt");
  morvale::fuzz::writeInput(scores, data, size);
  const int overlap = size ? data[0] % 5 : 1;
  if (!morvale::cordsortI(overlap, 0.05, scores, islands).empty()) __builtin_trap();
  const auto first = islandLines(islands);
  for (std::size_t i = 1; i < first.size(); ++i)
    if (first[i].first <= first[i - 1].second) __builtin_trap();
  if (!morvale::cordsortII(0.05, scores, islands, overlap).empty()) __builtin_trap();
  islandLines(islands);
  return 0;
}
