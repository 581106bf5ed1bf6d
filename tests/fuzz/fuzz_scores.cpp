// Fuzzes the window-score reader of both island assemblies: any file gives an
// islands file whose lines are pairs of integers, and never a crash.
#include "fuzz_input.h"
#include "islands/island_one.h"
#include "islands/island_two.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string scores = morvale::fuzz::scratchFile("scores.txt");
  static const std::string islands = morvale::fuzz::scratchFile("islands.txt");
  morvale::fuzz::writeInput(scores, data, size);
  const int overlap = size ? data[0] % 5 : 1;
  morvale::cordsortI(overlap, 0.05, scores, islands);
  morvale::cordsortII(0.05, scores, islands, overlap);
  return 0;
}
