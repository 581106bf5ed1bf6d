// The whole pipeline of morvale-run (both phases, reports) on the 5.3 Mbp
// K. pneumoniae HS11286 chromosome from the shared data folder beside the
// repository, at the default settings and at k 8, on one and two threads.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "base/console.h"
#include "batch/batch_run.h"
#include "batch/options.h"

namespace morvale::bench {
namespace {

// Arguments: k, threads.
void BM_PipelineKpneumoniae(benchmark::State& state) {
  const std::string genome = std::string(MORVALE_SHARED_DATA) + "/kpneumoniae_HS11286_chr.fasta";
  if (!std::filesystem::exists(genome)) {
    state.SkipWithError(("genome not found: " + genome).c_str());
    return;
  }
  BatchOptions o;
  std::string error;
  parseOptions({"-q", "--seed", "1700000000", "--force", "-o", "/tmp/morvale-bench-pipeline", "-k",
                std::to_string(state.range(0)), "-t", std::to_string(state.range(1)), genome},
               o, error);
  SystemConsole console;
  std::ostringstream err;
  for (auto _ : state) runBatch(o, console, err, false);
  std::filesystem::remove_all("/tmp/morvale-bench-pipeline");
}

BENCHMARK(BM_PipelineKpneumoniae)
    ->Args({2, 1})
    ->Args({2, 2})
    ->Args({8, 1})
    ->Args({8, 2})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace morvale::bench
