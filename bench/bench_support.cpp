#include "bench_support.h"

namespace morvale::bench {

const std::string& benchGenome() {
  static const std::string dna = [] {
    std::string g = randomDna(5000000, 1);
    const std::string planted = randomDna(20000, 2, 0.2);
    for (std::size_t at = 250000; at + planted.size() < g.size(); at += 500000)
      g.replace(at, planted.size(), planted);
    return g;
  }();
  return dna;
}

}  // namespace morvale::bench
