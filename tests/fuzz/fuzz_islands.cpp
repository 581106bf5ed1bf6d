// Fuzzes the island-list reader of the refinement scan and the checks before the
// background is cut out: an accepted list must cut a background without reading
// outside the genome.
#include "fuzz_input.h"
#include "scan/island_two.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string name = morvale::fuzz::scratchFile("islands.txt");
  static const std::string genome(5000, 'a');
  morvale::fuzz::writeInput(name, data, size);
  morvale::IslandList list = morvale::readIslandList(name);
  if (list.problem.empty() && morvale::islandListProblem(list.values, 5000).empty()) {
    const std::string background = morvale::backgroundSequence(genome, list.values);
    if (background.size() > genome.size()) __builtin_trap();
  }
  return 0;
}
