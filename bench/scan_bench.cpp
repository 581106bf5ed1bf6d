// Whole scans on a generated 5 Mbp genome, and the literal scorer per window for
// comparison (scale it by the number of windows of a scan).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bench_support.h"
#include "kmer/genome.h"
#include "scan/island_one.h"
#include "scan/island_two.h"
#include "stats/literal_scorer.h"
#include "stats/window_score.h"

namespace morvale::bench {
namespace {

// Windows a first-phase scan scores: sizes 5000..10000 by 1000, step 500.
std::int64_t firstPhaseWindows(std::int64_t length) {
  std::int64_t windows = 0;
  for (std::int64_t w = 5000; w <= 10000; w += 1000) windows += (length - w + 499) / 500;
  return windows;
}

// Times a first-phase scan of `genome` (`length` letters) with k and measure from
// the arguments; the result file is removed afterwards.
void firstPhaseScan(benchmark::State& state, const std::string& genome, std::int64_t length) {
  QuietConsole quiet;
  for (auto _ : state) {
    IslandI(static_cast<int>(state.range(0)), 5000, 30, 500, 1000, genome,
            static_cast<int>(state.range(1)), 100);
  }
  const auto windows = static_cast<double>(firstPhaseWindows(length));
  state.counters["windows"] = windows;
  state.counters["windows/s"] = benchmark::Counter(windows, benchmark::Counter::kIsRate);
  std::remove("Euclidean-first.txt");
}

// Arguments: k, measure.
void BM_IslandIScan(benchmark::State& state) {
  firstPhaseScan(state, benchGenomeFile(), 5000000);
}

// The same scan on a real 5.3 Mbp chromosome (K. pneumoniae HS11286), when the
// shared data folder beside the repository has it.
void BM_IslandIScanKpneumoniae(benchmark::State& state) {
  const std::string genome = std::string(MORVALE_SHARED_DATA) + "/kpneumoniae_HS11286_chr.fasta";
  // A limit above any length makes the reader stop after counting: a cheap check.
  if (readgenome(genome, INT64_MAX).status != GenomeStatus::kTooShort) {
    state.SkipWithError(("genome not found: " + genome).c_str());
    return;
  }
  firstPhaseScan(state, genome, 5333942);
}

void BM_IslandIIScan(benchmark::State& state) {
  const std::string& genome = benchGenomeFile();
  const std::string islands = "/tmp/morvale-bench-islands.txt";
  {
    std::ofstream out(islands);
    for (int at = 250000; at < 5000000; at += 500000) out << at << '\t' << at + 20000 << '\n';
  }
  QuietConsole quiet;
  for (auto _ : state) {
    IslandII(static_cast<int>(state.range(0)), 5000, 30, 500, genome, islands,
             static_cast<int>(state.range(1)), 100, 5);
  }
  const double scorings = 10 * 30 * 5;
  state.counters["scorings"] = scorings;
  state.counters["scorings/s"] = benchmark::Counter(scorings, benchmark::Counter::kIsRate);
  std::remove("Euclidean-refinement.txt");
}

// One window scored against a pool of 100 (draws 30), fast and literal.
struct ScoringSetup {
  std::string dna = randomDna(200000, 5);
  KmerTree tree;
  SamplePool pool;
  std::vector<double*> rows;
  Profile window;
  ScoringSetup(int k, int measure) {
    buildtree(tree, k);
    pool.allocate(100, tree.keys);
    for (int j = 0; j < 100; ++j) {
      pool.row(j)[0] = 1000.0 * j + 20000;
      zerotree(tree);
      frequencyother(tree, dna.data() + 1000 * j + 20000, 5000, measure, pool, j);
      rows.push_back(pool.row(j));
    }
    zerotree(tree);
    frequencyW(tree, dna.data(), 5000, measure, window);
  }
};

void BM_ScoreWindow(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0));
  const int measure = static_cast<int>(state.range(1));
  ScoringSetup s(k, measure);
  ScoreWorkspace ws;
  ws.pairs.reset(100);
  std::srand(1);
  // A scan scores thousands of windows per pool: fill the pair cache first, as a
  // long scan does within its first few hundred windows.
  for (int i = 0; i < 3000; ++i)
    scoreWindow(k, 5000, 30, ws, 2500, 0, measure, s.window, s.pool, 100, "/dev/null");
  for (auto _ : state) {
    scoreWindow(k, 5000, 30, ws, 2500, 0, measure, s.window, s.pool, 100, "/dev/null");
  }
  state.counters["windows/s"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}

void BM_LiteralScoreWindow(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0));
  const int measure = static_cast<int>(state.range(1));
  ScoringSetup s(k, measure);
  double* windowRows[1] = {s.window.values.data()};
  std::srand(1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        testing::literalScore(k, 5000, 30, 2500, 0, measure, windowRows, s.rows.data(), 100));
  }
  state.counters["windows/s"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}

void scanArgs(benchmark::internal::Benchmark* b) {
  for (int k : {4, 8})
    for (int measure : {2, 5}) b->Args({k, measure});
}
BENCHMARK(BM_ScoreWindow)->Apply(scanArgs);
BENCHMARK(BM_LiteralScoreWindow)->Apply(scanArgs);
BENCHMARK(BM_IslandIIScan)->Apply(scanArgs)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_IslandIScan)->Apply(scanArgs)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_IslandIScanKpneumoniae)->Args({4, 2})->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace morvale::bench
