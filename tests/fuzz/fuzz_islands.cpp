// Fuzzes the island-list reader and its checks: a list that passes the checks cuts
// a background out of the genome without reading outside it, and its islands lie
// in ascending order inside the genome.
#include "fuzz_input.h"
#include "islands/island_list.h"
#include "scan/island_two.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string name = morvale::fuzz::scratchFile("islands.txt");
  static const std::string genome(5000, 'a');
  morvale::fuzz::writeInput(name, data, size);
  morvale::IslandList list = morvale::readIslandList(name);
  if (!morvale::islandListProblem(list, name, 5000).empty()) return 0;
  const std::vector<std::int64_t>& v = list.values;
  if (v.empty() || v.size() % 2 != 0) __builtin_trap();
  for (std::size_t i = 0; i < v.size(); i += 2) {
    if (v[i] < 0 || v[i] >= v[i + 1] || v[i + 1] > 5000) __builtin_trap();
    if (i > 0 && v[i] < v[i - 1]) __builtin_trap();
  }
  const std::string background = morvale::backgroundSequence(genome, v);
  if (background.size() >= genome.size()) __builtin_trap();
  return 0;
}
