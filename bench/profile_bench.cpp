// Profiles per second: the fast builder, the literal tree it replaces, and the
// floor of reading the window and clearing and writing the 4^k values.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "bench_support.h"
#include "kmer/kmer_counts.h"
#include "kmer/literal_tree.h"

namespace morvale::bench {
namespace {

// Arguments: window length, k, measure (2 plain, 5 Markov).
void BM_Profile(benchmark::State& state) {
  const int len = static_cast<int>(state.range(0));
  const int k = static_cast<int>(state.range(1));
  const int measure = static_cast<int>(state.range(2));
  const std::string dna = randomDna(len, 3);
  KmerCountTable table;
  buildtree(table, k);
  Profile p;
  for (auto _ : state) {
    zerotree(table);
    frequencyW(table, dna.data(), len, measure, p);
    benchmark::DoNotOptimize(p.values.data());
  }
  state.counters["profiles/s"] =
      benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}

void BM_LiteralProfile(benchmark::State& state) {
  const int len = static_cast<int>(state.range(0));
  const int k = static_cast<int>(state.range(1));
  const int measure = static_cast<int>(state.range(2));
  const std::string dna = randomDna(len, 3);
  testing::LiteralTree tree(k);
  for (auto _ : state) benchmark::DoNotOptimize(tree.profile(dna, measure).data());
  state.counters["profiles/s"] =
      benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}

// Reading every letter and clearing and writing 4^k doubles: the least any builder does.
void BM_ReadAndWriteFloor(benchmark::State& state) {
  const int len = static_cast<int>(state.range(0));
  const int k = static_cast<int>(state.range(1));
  const std::string dna = randomDna(len, 3);
  std::vector<double> values(static_cast<std::size_t>(keyCount(k)));
  for (auto _ : state) {
    unsigned sum = 0;
    for (char c : dna) sum += static_cast<unsigned char>(c);
    std::fill(values.begin(), values.end(), 0.0);
    values[sum % values.size()] = 1.0;
    benchmark::DoNotOptimize(values.data());
  }
  state.counters["profiles/s"] =
      benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}

void profileArgs(benchmark::internal::Benchmark* b) {
  for (int len : {5000, 10000})
    for (int k : {4, 6, 8})
      for (int measure : {2, 5}) b->Args({len, k, measure});
}
BENCHMARK(BM_Profile)->Apply(profileArgs);
BENCHMARK(BM_ReadAndWriteFloor)->Apply(profileArgs);
BENCHMARK(BM_LiteralProfile)->Apply(profileArgs)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvale::bench
