// One genome's phases into one folder, as both front ends run them: every input
// is checked before any result file of the folder is touched; a phase removes its
// run record before it changes its result files and writes the record again once
// they are whole.
#pragma once

#include <cstdint>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "base/console.h"
#include "base/worker_pool.h"
#include "genome/genome_input.h"
#include "islands/island_list.h"
#include "islands/result_files.h"
#include "islands/run_record.h"
#include "scan/scan_progress.h"
#include "scan/settings.h"
#include "scan/window_scan.h"

namespace morvale {

// The lines that refuse a genome for the first phase, [] when it can be scanned:
// a read error, or no more letters than the first window (L <= W0).
std::vector<std::string> firstPhaseGenomeProblems(const GenomeInput& input, int windowSize);
// The same for the refinement: a read error or an empty genome.
std::vector<std::string> refinementGenomeProblems(const GenomeInput& input);
// "" when the island list can be refined at window size W, else one line.
std::string refinementListProblem(IslandList& list, const std::string& islandsFile,
                                  const GenomeInput& input, int windowSize);

// The run record's facts of every scan: the program, the phase (kFirstPhase,
// kRefinementPhase, kNaturalPhase), the start time and the genome (file, length,
// records, checksum of a described genome).
RunRecord genomeRunRecord(const char* phase, const GenomeInput& genome, std::time_t started);

class PhaseRunner {
 public:
  // The assemblies' messages ("No islands found ...") go to `messages`, their
  // complaints about the files ("Unable to open 0") to `errors`.
  PhaseRunner(int measure, const std::string& folder, Console& console, ScanProgress& progress,
              WorkerPool& workers, std::ostream& messages, std::ostream& errors = std::cerr);

  const ResultFileNames& names() const { return names_; }

  // Scans a checked genome: removes the first phase's run record, then runs the scan.
  // A scan that fails or is stopped leaves no record (nor does the refinement's).
  ScanOutcome firstPhase(const FirstPhaseSettings& settings, const GenomeInput& genome,
                         unsigned seed);
  // Assembles the first-phase islands and, when the scan completed, writes the run
  // record with `extra` entries after the settings. "" or one line on failure.
  std::string firstAssembly(const FirstAssemblySettings& assembly, const RunRecord& extra = {});

  // Refines a checked island list (values in `list`) of `islandsFile`.
  ScanOutcome refinement(const RefinementSettings& settings, int tupleSize,
                         const GenomeInput& genome, const std::string& islandsFile,
                         const std::vector<std::int64_t>& islands, unsigned seed);
  // Assembles the refinement islands and writes the refinement's run record.
  std::string refinementAssembly(double cutoff, int voteThreshold);

 private:
  RunRecord commonRecord(const char* phase, const GenomeInput& genome, std::time_t started) const;

  int measure_;
  ResultFileNames names_;
  Console& console_;
  ScanProgress& progress_;
  WorkerPool& workers_;
  std::ostream& messages_;
  std::ostream& errors_;
  RunRecord first_;       // the first phase's record so far; empty until its scan completed
  RunRecord refinement_;  // likewise for the refinement
};

}  // namespace morvale
