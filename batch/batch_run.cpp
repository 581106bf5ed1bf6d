#include "batch/batch_run.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>

#include "base/folder_lock.h"
#include "base/number_text.h"
#include "base/stop_signal.h"
#include "batch/batch_progress.h"
#include "batch/gzip_source.h"
#include "islands/island_list.h"
#include "report/report.h"
#include "report/svg_plot.h"
#include "scan/phase_runner.h"

namespace morvale {

namespace fs = std::filesystem;

namespace {

// What the summary says of one genome.
struct GenomeSummary {
  std::string name;
  std::int64_t length = 0;
  double gcPercent = 0.0;
  std::size_t islands = 0;
  std::int64_t islandLetters = 0;
  double seconds = 0.0;
  std::string status = "not run";
};

// Files Morvale writes into a genome's folder; --force removes them first.
void removeOwnFiles(const std::string& folder) {
  for (int measure = 1; measure <= 3; ++measure) {
    const ResultFileNames n = resultFileNames(measure, folder);
    for (const std::string* f : {&n.firstScores, &n.firstIslands, &n.refinementScores,
                                 &n.refinementIslands, &n.firstRecord, &n.refinementRecord})
      fs::remove(*f);
  }
  for (const char* f : {"islands.bed", "islands.gff3", "islands.tsv", "scores.svg"})
    fs::remove(folder + "/" + f);
}

// Writes one report file; "" or the problem.
template <typename Write>
std::string writeReport(const std::string& path, const report::Inputs& in, Write write) {
  std::ofstream out(path);
  write(out, in);
  out.close();
  return out ? "" : "cannot write " + path;
}

class GenomeRun {
 public:
  GenomeRun(const BatchOptions& o, Console& console, BatchProgress& progress, WorkerPool& workers,
            unsigned seed)
      : o_(o), console_(console), progress_(progress), workers_(workers), seed_(seed) {}

  // Runs genome `index`; fills `s` and says whether the run was interrupted.
  bool run(std::size_t index, const std::string& folder, GenomeSummary& s) {
    const std::string& file = o_.genomes[index];
    const int count = static_cast<int>(o_.genomes.size());
    const auto started = std::chrono::steady_clock::now();
    const auto finish = [&](const std::string& status) {
      s.status = status;
      s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      return status == "interrupted";
    };
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return finish("failed: cannot create " + folder + ": " + ec.message());
    if (o_.force) removeOwnFiles(folder);

    GenomeInput genome;
    genome.fileName = file;
    genome.genome = readGenomeFile(file);
    std::vector<std::string> problems = firstPhaseGenomeProblems(genome, o_.first.windowSize);
    if (!problems.empty()) return finish("failed: " + problems.back());
    describeGenome(genome);
    s.length = genome.genome.length;
    s.gcPercent = report::gcPercent(genome.genome.letters, 0, s.length);

    std::ofstream quiet;  // the assemblies' console messages are not for this command
    PhaseRunner runner(o_.first.measure, folder, console_, progress_, workers_, quiet);
    progress_.phaseStarted(static_cast<int>(index) + 1, count, s.name, "first phase");
    ScanOutcome outcome = runner.firstPhase(o_.first, genome, seed_);
    if (outcome.result == ScanResult::kInterrupted) return finish("interrupted");
    if (outcome.result == ScanResult::kFailed) return finish("failed: " + outcome.error);
    const FirstAssemblySettings assembly = firstAssemblyFor(o_, s.length);
    std::string error = runner.firstAssembly(assembly);
    if (!error.empty()) return finish("failed: " + error);

    std::string scores = runner.names().firstScores;
    std::string islands = runner.names().firstIslands;
    if (o_.refine) {
      IslandList list = readIslandList(islands);
      if (!list.values.empty()) {
        const std::string problem =
            refinementListProblem(list, islands, genome, o_.refinement.windowSize);
        if (!problem.empty()) return finish("failed: " + problem);
        progress_.phaseStarted(static_cast<int>(index) + 1, count, s.name, "refinement");
        outcome = runner.refinement(o_.refinement, o_.first.tupleSize, genome, islands, list.values,
                                    seed_);
        if (outcome.result == ScanResult::kInterrupted) return finish("interrupted");
        if (outcome.result == ScanResult::kFailed) return finish("failed: " + outcome.error);
        error = runner.refinementAssembly(o_.refinement.cutoff, o_.refinement.voteThreshold);
        if (!error.empty()) return finish("failed: " + error);
        scores = runner.names().refinementScores;
        islands = runner.names().refinementIslands;
      }
    }
    progress_.finishLine();

    report::Inputs in;
    if (!report::loadRun(genome.genome, file, scores, islands, true, in, error))
      return finish("failed: " + error);
    for (const report::Island& island : in.islands) s.islandLetters += island.end - island.start;
    s.islands = in.islands.size();
    for (const auto& [name, write] :
         {std::pair<const char*, void (*)(std::ostream&, const report::Inputs&)>{"islands.bed",
                                                                                 report::writeBed},
          {"islands.gff3", report::writeGff3},
          {"islands.tsv", report::writeTable},
          {"scores.svg", report::writeSvg}}) {
      error = writeReport(folder + "/" + name, in, write);
      if (!error.empty()) return finish("failed: " + error);
    }
    return finish("done");
  }

 private:
  const BatchOptions& o_;
  Console& console_;
  BatchProgress& progress_;
  WorkerPool& workers_;
  unsigned seed_;
};

std::string writeSummary(const std::string& path, const std::vector<GenomeSummary>& all) {
  std::string text = "genome\tlength\tgc_percent\tislands\tisland_letters\tseconds\tstatus\n";
  for (const GenomeSummary& s : all) {
    std::string status = s.status;
    for (char& c : status)
      if (c == '\t' || c == '\n') c = ' ';
    text += s.name + '\t' + std::to_string(s.length) + '\t' + numberText("%.2f", s.gcPercent) +
            '\t' + std::to_string(s.islands) + '\t' + std::to_string(s.islandLetters) + '\t' +
            numberText("%.1f", s.seconds) + '\t' + status + '\n';
  }
  const std::string temporary = path + ".tmp";
  std::ofstream out(temporary);
  out << text;
  out.close();
  std::error_code ec;
  if (out) fs::rename(temporary, path, ec);
  if (!out || ec) return "cannot write " + path;
  return "";
}

}  // namespace

std::string genomeName(const std::string& path) {
  std::string name = fs::path(path).filename().string();
  const auto strip = [&name](const std::string& ending) {
    if (name.size() > ending.size() &&
        name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
      name.resize(name.size() - ending.size());
      return true;
    }
    return false;
  };
  strip(".gz");
  for (const char* ending : {".fasta", ".fa", ".fna", ".fas", ".fsa", ".seq", ".txt"})
    if (strip(ending)) break;
  return name;
}

int runBatch(const BatchOptions& o, Console& console, std::ostream& err, bool terminal) {
  std::vector<GenomeSummary> all(o.genomes.size());
  std::set<std::string> names;
  for (std::size_t i = 0; i < o.genomes.size(); ++i) {
    all[i].name = genomeName(o.genomes[i]);
    if (!names.insert(all[i].name).second) {
      err << "morvale-run: two genomes are named " << all[i].name
          << " (their results would share a folder); rename one of them" << std::endl;
      return 2;
    }
  }
  const std::string summaryPath = o.out + "/summary.tsv";
  if (!o.force) {
    bool holds = fs::exists(summaryPath);
    for (const std::string& name : names) holds = holds || fs::exists(o.out + "/" + name);
    if (holds) {
      err << "morvale-run: the folder " << o.out
          << " already holds results; use --force to replace them, or another --out" << std::endl;
      return 2;
    }
  }
  std::error_code ec;
  fs::create_directories(o.out, ec);
  if (ec) {
    err << "morvale-run: cannot create the folder " << o.out << ": " << ec.message() << std::endl;
    return 1;
  }
  std::string notice;
  std::string error;
  const std::unique_ptr<FolderLock> lock = FolderLock::take(o.out, console.now(), notice, error);
  if (!lock) {
    err << "morvale-run: " << error << std::endl;
    return 1;
  }
  if (!notice.empty()) err << "morvale-run: " << notice << std::endl;

  const unsigned seed = o.seedGiven ? o.seed : static_cast<unsigned>(console.now());
  BatchProgress progress(err, terminal, o.quiet);
  WorkerPool workers(o.threads);
  GenomeRun genomeRun(o, console, progress, workers, seed);
  bool interrupted = false;
  bool failed = false;
  for (std::size_t i = 0; i < o.genomes.size() && !interrupted; ++i) {
    interrupted = genomeRun.run(i, o.out + "/" + all[i].name, all[i]);
    progress.finishLine();
    if (all[i].status.rfind("failed", 0) == 0) {
      failed = true;
      err << "morvale-run: " << o.genomes[i] << ": " << all[i].status.substr(8) << std::endl;
    }
  }
  error = writeSummary(summaryPath, all);
  if (!error.empty()) {
    err << "morvale-run: " << error << std::endl;
    failed = true;
  }
  if (interrupted) {
    err << "morvale-run: stopped; the genomes finished before stay whole" << std::endl;
    return 130;
  }
  return failed ? 1 : 0;
}

}  // namespace morvale
