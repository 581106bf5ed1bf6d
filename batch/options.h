// The command line of morvale-run: every setting of both phases as an option,
// checked against the same range table as the dialogue's answers, the output
// folder, the seed and the threads.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/command_help.h"
#include "compare/island_clusters.h"
#include "genes/gene_scores.h"
#include "natural/natural_settings.h"
#include "scan/settings.h"

namespace morvale {

// The defaults are the settings measured best on planted and natural islands:
// measure 3 (Kullback-Leibler without the Markov model), k 3, a cut-off by rank
// keeping the 2 % most significant windows, islands of at least 4 windows.
struct BatchOptions {
  BatchOptions() {
    first.measure = 3;
    first.tupleSize = 3;
  }
  std::vector<std::string> genomes;
  FirstPhaseSettings first;
  std::optional<double> cutoff;  // --cutoff P; none: auto, the rank rule
  double autoFraction = 0.02;
  int minWindows = 4;
  bool sensitive = false;  // the preset for natural islands (applied by parseOptions)
  bool refine = true;
  RefinementSettings refinement;
  // --natural: the natural scan instead of the two phases, with its own settings.
  bool natural = false;
  natural::NaturalSettings naturalSettings;
  std::string out = "morvale-out";
  bool force = false;
  std::optional<unsigned> seed;  // none: the clock
  int threads = 1;
  bool quiet = false;
  std::optional<std::string> annotation;  // a GFF3 file for FASTA genomes
  bool callGenes = false;  // --call-genes: Prodigal's genes for genomes without annotation
  double atypicalFraction = kDefaultAtypicalFraction;  // of scored genes, called atypical
  bool perRecord = false;          // each long record scanned as a genome of its own
  std::int64_t minRecord = 50000;  // letters a record needs to be scanned on its own
  double clusterDistance = compare::kDefaultClusterDistance;  // islands across genomes
  // For the jobs of a workflow, each running one genome into a folder they share:
  std::optional<std::string> name;     // --name: the genome's folder and summary name
  std::optional<std::string> rowFile;  // --row: the summary rows go here, not to out/summary.tsv
  // --collect: the folder whose jobs' rows become its summary.tsv and index.html;
  // `genomes` then holds at most the sample sheet giving their order.
  std::optional<std::string> collect;
  // --check-sheet: the sample sheet to check and print; nothing runs.
  std::optional<std::string> checkSheet;
};

// Reads the arguments into `options` (defaults for what is not given). On a usage
// error `error` holds one line naming the option and what it accepts.
ParsedCommand parseOptions(const std::vector<std::string>& args, BatchOptions& options,
                           std::string& error);

// The help in parts: every option with its default and range, the files a genome's
// folder holds, examples. The manual page and the shell completion are made from it.
CommandHelp commandHelp();
// The --help text.
std::string helpText();

// The preset --sensitive: measure 3, k 2, rank fraction 0.05, 4 windows, for the
// settings not given explicitly.
constexpr double kSensitiveFraction = 0.05;

}  // namespace morvale
