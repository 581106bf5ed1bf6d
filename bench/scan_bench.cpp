// Window scoring, fast and literal, and whole first-phase scans of a generated
// 5 Mbp genome, on one and two threads.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "bench_support.h"
#include "kmer/kmer_counts.h"
#include "kmer/kmer_key.h"
#include "scan/first_scan.h"
#include "stats/literal_scorer.h"
#include "stats/window_score.h"

namespace morvale::bench {
namespace {

// One window scored against a pool of 100 (draws 30).
struct ScoringSetup {
  std::string dna = randomDna(200000, 5);
  KmerCountTable table;
  SamplePool pool;
  Profile window;
  ScoringSetup(int k, int measure) {
    buildtree(table, k);
    pool.starts.resize(100);
    pool.rows.resize(100);
    for (int j = 0; j < 100; ++j) {
      pool.starts[static_cast<std::size_t>(j)] = 1000.0 * j + 20000;
      zerotree(table);
      frequencyother(table, dna.data() + 1000 * j + 20000, 5000, measure, pool, j);
    }
    zerotree(table);
    frequencyW(table, dna.data(), 5000, measure, window);
  }
};

// Arguments: k, measure.
void BM_ScoreWindow(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0));
  const int measure = static_cast<int>(state.range(1));
  ScoringSetup s(k, measure);
  PoolPairDistances pairs;
  pairs.reset(100);
  ScoreScratch scratch;
  std::vector<int> drawn(90);
  std::srand(1);
  // A scan scores thousands of windows per pool: know every background pair first,
  // as a long scan does within its first few hundred windows.
  for (int a = 0; a < 100; ++a)
    for (int b = 0; b < 100; ++b) pairs.want(a, b);
  for (std::size_t i = 0; i < pairs.pending().size(); ++i)
    pairs.fill(i, profileDistance(distanceOf(measure), s.pool.sparse(pairs.pending()[i].first),
                                  s.pool.sparse(pairs.pending()[i].second), scratch.distance));
  pairs.clearPending();
  for (auto _ : state) {
    drawSamples(s.pool, 0, 5000, 90, drawn.data());
    benchmark::DoNotOptimize(
        scoreDrawnSamples(distanceOf(measure), s.window, s.pool, drawn.data(), 30, pairs, scratch));
  }
  state.counters["windows/s"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}

void BM_LiteralScoreWindow(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0));
  const int measure = static_cast<int>(state.range(1));
  ScoringSetup s(k, measure);
  std::vector<std::vector<double>> dense;
  for (const Profile& row : s.pool.rows) dense.push_back(row.dense());
  const std::vector<double> window = s.window.dense();
  std::srand(1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        testing::literalScore(keyCount(k), 5000, 30, 0, measure, window, dense, s.pool.starts));
  }
  state.counters["windows/s"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}

// Arguments: k, measure, threads. Sizes 5000..10000 by 1000, step 1000, pool 100, draws 30.
void BM_IslandIScan(benchmark::State& state) {
  FirstPhaseSettings s;
  s.tupleSize = static_cast<int>(state.range(0));
  s.measure = static_cast<int>(state.range(1));
  WorkerPool workers(static_cast<int>(state.range(2)));
  ScanProgress quiet;
  std::int64_t windows = 0;
  for (auto _ : state) {
    windows =
        IslandI(s, benchGenome(), 7, "/tmp/morvale-bench-scores.txt", quiet, workers).windowsTested;
  }
  state.counters["windows"] = static_cast<double>(windows);
  state.counters["windows/s"] =
      benchmark::Counter(static_cast<double>(windows), benchmark::Counter::kIsRate);
  std::remove("/tmp/morvale-bench-scores.txt");
}

void scoreArgs(benchmark::internal::Benchmark* b) {
  for (int k : {4, 8})
    for (int measure : {2, 6}) b->Args({k, measure});
}
BENCHMARK(BM_ScoreWindow)->Apply(scoreArgs);
BENCHMARK(BM_LiteralScoreWindow)->Apply(scoreArgs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IslandIScan)
    ->Args({2, 6, 1})
    ->Args({8, 6, 1})
    ->Args({8, 6, 2})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace morvale::bench
