// The natural scan whole (word counts, window scores, cut-off, bins) on the
// generated 5 Mbp genome and on the 5.3 Mbp K. pneumoniae HS11286 chromosome from
// the shared data folder, on one and two threads.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_support.h"
#include "genome/byte_source.h"
#include "natural/natural_scan.h"

namespace morvale::bench {
namespace {

void scanRepeatedly(benchmark::State& state, const Genome& genome) {
  WorkerPool workers(static_cast<int>(state.range(0)));
  std::size_t windows = 0;
  for (auto _ : state) {
    const natural::NaturalScan scan = natural::runNaturalScan(genome, {}, workers);
    windows = scan.windows.size();
    benchmark::DoNotOptimize(scan.islands.data());
  }
  state.counters["windows"] = static_cast<double>(windows);
  state.counters["Mbp/s"] = benchmark::Counter(static_cast<double>(genome.length) * 1e-6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}

// Argument: threads.
void BM_NaturalScan(benchmark::State& state) {
  static const Genome genome = [] {
    const std::string fasta = ">generated\n" + benchGenome();
    TextByteSource in(fasta);
    return readGenomeFrom(in);
  }();
  scanRepeatedly(state, genome);
}

void BM_NaturalScanKpneumoniae(benchmark::State& state) {
  const std::string file = std::string(MORVALE_SHARED_DATA) + "/kpneumoniae_HS11286_chr.fasta";
  if (!std::filesystem::exists(file)) {
    state.SkipWithError(("genome not found: " + file).c_str());
    return;
  }
  static const Genome genome = readgenome(file);
  scanRepeatedly(state, genome);
}

BENCHMARK(BM_NaturalScan)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NaturalScanKpneumoniae)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace morvale::bench
