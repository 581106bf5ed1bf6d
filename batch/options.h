// The command line of morvale-run: every setting of both phases as an option,
// checked against the same range table as the dialogue's answers, the output
// folder, the seed and the threads.
#pragma once

#include <string>
#include <vector>

#include "scan/settings.h"

namespace morvale {

struct BatchOptions {
  std::vector<std::string> genomes;
  FirstPhaseSettings first;
  bool cutoffGiven = false;  // otherwise by genome length (firstAssemblyFor)
  double cutoff = 0.01;
  bool minWindowsGiven = false;
  int minWindows = 2;
  bool refine = true;
  RefinementSettings refinement;
  std::string out = "morvale-out";
  bool force = false;
  bool seedGiven = false;
  unsigned seed = 0;
  int threads = 1;
  bool quiet = false;
  bool perRecord = false;          // each long record scanned as a genome of its own
  std::int64_t minRecord = 50000;  // letters a record needs to be scanned on its own
};

enum class Parsed { kRun, kHelp, kVersion, kUsageError };

// Reads the arguments into `options` (defaults for what is not given). On a usage
// error `error` holds one line naming the option and what it accepts.
Parsed parseOptions(const std::vector<std::string>& args, BatchOptions& options,
                    std::string& error);

// The --help text: every option with its default and range.
std::string helpText();

// The first-phase cut-off and minimum number of windows for a genome of `length`
// letters: the options when given, else 0.01 and 2 under 1 Mbp, 1e-10 and 8 above.
FirstAssemblySettings firstAssemblyFor(const BatchOptions& options, std::int64_t length);

}  // namespace morvale
