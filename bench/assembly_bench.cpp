// Island assembly of a window-score file of 1,000,000 rows, both phases.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <random>

#include "bench_support.h"
#include "islands/first_assembly.h"
#include "islands/refinement_assembly.h"
#include "islands/result_files.h"

namespace morvale::bench {
namespace {

const char* kScores = "/tmp/morvale-bench-scores.txt";

void writeMillionRows() {
  std::mt19937 gen(9);
  std::FILE* f = std::fopen(kScores, "w");
  for (int i = 0; i < 1000000; ++i) {
    const std::int64_t size = 5000 + 1000 * (i / 170000);
    const std::int64_t start = (i % 170000) * 29;
    const double p = (gen() % 100000) * 1e-6;
    const std::string row = formatWindowScoreRow({size, double(start + size / 2), p});
    std::fputs(row.c_str(), f);
  }
  std::fclose(f);
}

void BM_CordsortI(benchmark::State& state) {
  writeMillionRows();
  QuietStdout quiet;
  for (auto _ : state) cordsortI(2, 0.05, kScores, "/tmp/morvale-bench-islands-1.txt");
  state.counters["rows/s"] =
      benchmark::Counter(1e6 * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_CordsortII(benchmark::State& state) {
  writeMillionRows();
  QuietStdout quiet;
  for (auto _ : state) cordsortII(0.05, kScores, "/tmp/morvale-bench-islands-2.txt", 2);
  state.counters["rows/s"] =
      benchmark::Counter(1e6 * state.iterations(), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_CordsortI)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CordsortII)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace morvale::bench
