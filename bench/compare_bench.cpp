// Islands across genomes at the scale of 500 genomes: sketching one island, and
// linking 10,000 generated islands (5 carried by every genome, 15 per genome drawn
// from 400 more, each copy trimmed at its ends with 0.2 % of its letters changed).
#include <benchmark/benchmark.h>

#include <random>

#include "bench_support.h"
#include "compare/island_links.h"
#include "compare/sketch.h"

namespace morvale::bench {
namespace {

const std::vector<compare::Sketch>& tenThousandSketches() {
  static const std::vector<compare::Sketch> sketches = [] {
    std::mt19937 gen(3);
    std::vector<std::string> pool;
    for (unsigned s = 0; s < 405; ++s)
      pool.push_back(randomDna(5000 + gen() % 25000, 100 + s, 0.4 + 0.2 * (s % 3) / 2));
    std::vector<compare::Sketch> out;
    for (int genome = 0; genome < 500; ++genome) {
      for (int i = 0; i < 20; ++i) {
        const std::string& segment = pool[i < 5 ? i : 5 + gen() % 400];
        const std::size_t trim = segment.size() / 10;
        const std::size_t from = gen() % trim;
        std::string copy = segment.substr(from, segment.size() - from - gen() % trim);
        for (std::size_t m = 0; m < copy.size() / 500; ++m) copy[gen() % copy.size()] = 'a';
        out.push_back(compare::sketchOf(copy));
      }
    }
    return out;
  }();
  return sketches;
}

void BM_SketchIsland15k(benchmark::State& state) {
  const std::string island = randomDna(15000, 1);
  for (auto _ : state) benchmark::DoNotOptimize(compare::sketchOf(island));
}
BENCHMARK(BM_SketchIsland15k)->Unit(benchmark::kMicrosecond);

void BM_LinkIslands10000(benchmark::State& state) {
  const std::vector<compare::Sketch>& sketches = tenThousandSketches();
  std::size_t clusters = 0;
  for (auto _ : state) {
    const std::vector<std::size_t> root = compare::linkIslands(sketches, 0.5);
    clusters = 0;
    for (std::size_t i = 0; i < root.size(); ++i) clusters += root[i] == i;
  }
  state.counters["clusters"] = static_cast<double>(clusters);
}
BENCHMARK(BM_LinkIslands10000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace morvale::bench
