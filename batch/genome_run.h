// One genome of a morvale-run: reads it with its annotation, runs both phases in its
// own folder (one subfolder per record with --per-record) and writes its report
// there. Its failures stay with it, as the status of its summary rows.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "base/console.h"
#include "base/worker_pool.h"
#include "batch/batch_progress.h"
#include "batch/options.h"
#include "batch/run_status.h"
#include "batch/summary.h"
#include "genome/annotation.h"
#include "genome/genome_input.h"
#include "report/loaded_run.h"
#include "scan/phase_runner.h"

namespace morvale {

// `name`, or name_2, name_3, ... for the first of them not in `used`; the one
// returned is added to `used`.
std::string uniqueName(const std::string& name, std::set<std::string>& used);

class GenomeRun {
 public:
  GenomeRun(const BatchOptions& o, Console& console, BatchProgress& progress, WorkerPool& workers,
            unsigned seed, std::ostream& err)
      : o_(o), console_(console), progress_(progress), workers_(workers), seed_(seed), err_(err) {}

  // Runs genome file `index` into its folder `name` under the output folder (one
  // subfolder per record with --per-record), adding its rows to `rows`. Returns true
  // when the run was interrupted.
  bool run(std::size_t index, const std::string& name, std::vector<SummaryRow>& rows);

 private:
  // The result files the report is made from: the refinement's when it ran, else
  // the first phase's.
  struct FinalFiles {
    std::string scores;
    std::string islands;
  };

  // Reads the genome and its annotation: a flat file's own, or --annotation's for a
  // FASTA genome. Features that do not fit the genome are warned of and left out.
  std::string load(GenomeInput& genome);
  // One genome (or record) into `folder`; adds its row.
  bool one(GenomeInput& genome, const std::string& name, const std::string& folder,
           std::chrono::steady_clock::time_point started, std::vector<SummaryRow>& rows);
  // The steps of one genome in order; each returns kDone to go on.
  RunStatus steps(GenomeInput& genome, const std::string& folder, SummaryRow& s);
  RunStatus prepare(GenomeInput& genome, const std::string& folder, SummaryRow& s);
  RunStatus firstPhase(PhaseRunner& runner, const GenomeInput& genome, SummaryRow& s);
  RunStatus refinement(PhaseRunner& runner, const GenomeInput& genome, SummaryRow& s,
                       FinalFiles& files);
  RunStatus reports(const GenomeInput& genome, const std::string& folder, const FinalFiles& files,
                    SummaryRow& s);
  RunStatus naturalScan(const GenomeInput& genome, const std::string& folder, SummaryRow& s);
  // With --call-genes, Prodigal's genes (folder/genes.gff3) for a genome without any.
  RunStatus callGenes(const GenomeInput& genome, const std::string& folder,
                      const std::string& name);
  // The tracks, table, picture, page and islands' letters (islands.fasta) of a loaded
  // run, annotated with the genome's features when it has them.
  RunStatus publish(report::LoadedRun& in, const GenomeInput& genome, const std::string& folder,
                    SummaryRow& s);
  // The letters of the genome's records (of its one record with --per-record) as they
  // stand in the file, the file read once more for them (a stream from its bytes).
  // Null with `error` set when it cannot be read.
  const std::vector<std::string>* recordLetters(std::string& error);
  // The first window of the scan that runs: the natural scan's or the first phase's.
  int scannedWindow() const { return o_.natural ? o_.naturalSettings.window : o_.first.windowSize; }

  const BatchOptions& o_;
  Console& console_;
  BatchProgress& progress_;
  WorkerPool& workers_;
  unsigned seed_;
  std::ostream& err_;
  std::size_t index_ = 0;
  static constexpr std::size_t kWholeFile = static_cast<std::size_t>(-1);
  std::size_t record_ = kWholeFile;         // the record being run with --per-record
  std::size_t lettersOf_ = kWholeFile;      // the genome file `letters_` were read from
  std::vector<std::string> letters_;        // its records' letters as they stand in it
  std::vector<std::string> recordLetters_;  // the one record's, with --per-record
  std::optional<Annotation> annotation_;    // of the genome being run, when it has one
  std::string geneCaller_;  // "Prodigal 2.6.3" when it called the genes of the genome
  // --annotation, read once for every genome: its features, or why it cannot be read.
  bool gffRead_ = false;
  std::optional<Annotation> gff_;
  std::string gffError_;
  // A genome file that can be read once only ("-", a pipe): its bytes, read whole.
  bool streamed_ = false;
  std::string stream_;
};

}  // namespace morvale
