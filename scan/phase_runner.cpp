#include "scan/phase_runner.h"

#include <cstdio>

#include "base/version.h"
#include "islands/first_assembly.h"
#include "islands/refinement_assembly.h"
#include "scan/first_scan.h"
#include "scan/refinement_scan.h"

namespace morvale {

namespace {

std::vector<std::string> readProblems(const GenomeInput& in) {
  if (in.genome.status == GenomeStatus::kCannotOpen)
    return {"Cannot open sequence file", genomeErrorText(in.genome, in.fileName)};
  if (in.genome.status != GenomeStatus::kOk && in.genome.status != GenomeStatus::kTooShort)
    return {genomeErrorText(in.genome, in.fileName)};
  return {};
}

void setKey(RunRecord& r, Setting s, long long value) {
  r.set(rangeOf(s).key, value);
}

}  // namespace

std::vector<std::string> firstPhaseGenomeProblems(const GenomeInput& in, int windowSize) {
  std::vector<std::string> problems = readProblems(in);
  if (problems.empty() && in.genome.length <= windowSize) {
    problems = {"Check the Window size [Sugg: Minimize it]",
                "The genome " + in.fileName + " has " + std::to_string(in.genome.length) +
                    " letters (A, C, G, T), not more than the first window of " +
                    std::to_string(windowSize)};
  }
  return problems;
}

std::vector<std::string> refinementGenomeProblems(const GenomeInput& in) {
  std::vector<std::string> problems = readProblems(in);
  if (problems.empty() && in.genome.length == 0)
    problems = {"The genome " + in.fileName + " holds no letters A, C, G or T"};
  return problems;
}

std::string refinementListProblem(IslandList& list, const std::string& islandsFile,
                                  const GenomeInput& in, int windowSize) {
  std::string problem = islandListProblem(list, islandsFile, in.genome.length);
  if (!problem.empty()) return problem;
  std::int64_t inIslands = 0;
  for (std::size_t i = 0; i + 1 < list.values.size(); i += 2)
    inIslands += list.values[i + 1] - list.values[i];
  const std::int64_t background = in.genome.length - inIslands;
  if (background - windowSize - 1 < 1) {
    return "The genome outside the islands of " + islandsFile + " has " +
           std::to_string(background) + " letters, too few for random samples of " +
           std::to_string(windowSize) + " letters";
  }
  return "";
}

PhaseRunner::PhaseRunner(int measure, const std::string& folder, Console& console,
                         ScanProgress& progress, WorkerPool& workers, std::ostream& messages,
                         std::ostream& errors)
    : measure_(measure),
      names_(resultFileNames(measure, folder)),
      console_(console),
      progress_(progress),
      workers_(workers),
      messages_(messages),
      errors_(errors) {}

RunRecord genomeRunRecord(const char* phase, const GenomeInput& genome, std::time_t started) {
  RunRecord r;
  r.set(record_key::kProgram, std::string("morvale ") + programVersion());
  r.set(record_key::kPhase, phase);
  r.set(record_key::kStarted, localTimeText(started));
  r.set(record_key::kGenomeFile, genome.fileName);
  r.set(record_key::kGenomeLength, genome.genome.length);
  r.set(record_key::kGenomeRecords, static_cast<long long>(genome.genome.records.size()));
  r.set(record_key::kGenomeMd5, genome.checksum);
  return r;
}

RunRecord PhaseRunner::commonRecord(const char* phase, const GenomeInput& genome,
                                    std::time_t started) const {
  RunRecord r = genomeRunRecord(phase, genome, started);
  setKey(r, Setting::kMeasure, measure_);
  return r;
}

ScanOutcome PhaseRunner::firstPhase(const FirstPhaseSettings& s, const GenomeInput& genome,
                                    unsigned seed) {
  first_ = RunRecord();
  std::remove(names_.firstRecord.c_str());
  RunRecord r = commonRecord(kFirstPhase, genome, console_.now());
  const ScanOutcome outcome =
      IslandI(s, genome.genome.letters, seed, names_.firstScores, progress_, workers_);
  if (outcome.result != ScanResult::kCompleted) return outcome;
  setKey(r, Setting::kTupleSize, s.tupleSize);
  setKey(r, Setting::kWindowSize, s.windowSize);
  setKey(r, Setting::kPoolSize, s.poolSize);
  setKey(r, Setting::kDrawCount, s.drawCount);
  setKey(r, Setting::kWindowStep, s.windowStep);
  setKey(r, Setting::kWindowIncrement, s.windowIncrement);
  r.set(record_key::kSeed, static_cast<long long>(seed));
  r.set(record_key::kWindowsTested, outcome.windowsTested);
  first_ = r;
  return outcome;
}

std::string PhaseRunner::firstAssembly(const FirstAssemblySettings& a, const RunRecord& extra) {
  std::remove(names_.firstRecord.c_str());
  const std::string error = cordsortI(a.overlapCount, a.cutoff, names_.firstScores,
                                      names_.firstIslands, messages_, errors_);
  if (!error.empty() || first_.entries().empty()) return error;
  RunRecord r = first_;
  r.setReal(record_key::kCutoff, a.cutoff);
  setKey(r, Setting::kOverlapCount, a.overlapCount);
  for (const auto& entry : extra.entries()) r.set(entry.first, entry.second);
  r.set(record_key::kFinished, localTimeText(console_.now()));
  return r.write(names_.firstRecord);
}

ScanOutcome PhaseRunner::refinement(const RefinementSettings& s, int tupleSize,
                                    const GenomeInput& genome, const std::string& islandsFile,
                                    const std::vector<std::int64_t>& islands, unsigned seed) {
  refinement_ = RunRecord();
  std::remove(names_.refinementRecord.c_str());
  RunRecord r = commonRecord(kRefinementPhase, genome, console_.now());
  const ScanOutcome outcome = IslandII(s, tupleSize, measure_, genome.genome.letters, islands, seed,
                                       names_.refinementScores, progress_, workers_);
  if (outcome.result != ScanResult::kCompleted) return outcome;
  setKey(r, Setting::kTupleSize, tupleSize);
  r.set(record_key::kIslandsFile, islandsFile);
  r.set(record_key::kIslands, static_cast<long long>(islands.size() / 2));
  setKey(r, Setting::kRefineWindowSize, s.windowSize);
  setKey(r, Setting::kRefinePoolSize, s.poolSize);
  setKey(r, Setting::kRefineDrawCount, s.drawCount);
  setKey(r, Setting::kRefineWindowStep, s.windowStep);
  setKey(r, Setting::kScanCount, s.scanCount);
  r.set(record_key::kSeed, static_cast<long long>(seed));
  r.set(record_key::kWindowsTested, outcome.windowsTested);
  refinement_ = r;
  return outcome;
}

std::string PhaseRunner::refinementAssembly(double cutoff, int voteThreshold) {
  std::remove(names_.refinementRecord.c_str());
  const std::string error = cordsortII(cutoff, names_.refinementScores, names_.refinementIslands,
                                       voteThreshold, messages_, errors_);
  if (!error.empty() || refinement_.entries().empty()) return error;
  RunRecord r = refinement_;
  setKey(r, Setting::kVoteThreshold, voteThreshold);
  r.setReal(record_key::kCutoff, cutoff);
  r.set(record_key::kFinished, localTimeText(console_.now()));
  return r.write(names_.refinementRecord);
}

}  // namespace morvale
