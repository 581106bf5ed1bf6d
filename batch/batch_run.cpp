#include "batch/batch_run.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <new>
#include <set>
#include <system_error>

#include "base/folder_lock.h"
#include "base/number_text.h"
#include "base/stop_signal.h"
#include "base/system_error.h"
#include "batch/batch_progress.h"
#include "batch/summary.h"
#include "genome/genome_input.h"
#include "genome/gff_annotation.h"
#include "genome/gzip_source.h"
#include "islands/auto_cutoff.h"
#include "islands/island_list.h"
#include "report/report.h"
#include "report/report_files.h"
#include "scan/phase_runner.h"

namespace morvale {

namespace fs = std::filesystem;

namespace {

// Files Morvale writes into a genome's folder; --force removes them first. "" or
// one line naming the first that cannot be removed (a folder in its place).
std::string removeOwnFiles(const std::string& folder) {
  std::vector<std::string> files;
  for (int measure = 1; measure <= 3; ++measure) {
    const ResultFileNames n = resultFileNames(measure, folder);
    files.insert(files.end(), {n.firstScores, n.firstIslands, n.refinementScores,
                               n.refinementIslands, n.firstRecord, n.refinementRecord});
  }
  for (const char* f :
       {"islands.bed", "islands.gff3", "islands.tsv", "scores.svg", "report.html", "genes.tsv"})
    files.push_back(folder + "/" + f);
  for (const std::string& f : files) {
    std::error_code ec;
    fs::remove(f, ec);
    if (ec) return "cannot remove " + f + ": " + ec.message();
  }
  return "";
}

// Warnings of features left out, shown per genome before they are summed up.
constexpr std::size_t kWarningsShown = 10;

// A record's folder name: its name with every character other than letters,
// digits, '.', '_' and '-' made '_' and leading dots dropped; "record_N" (N from 1)
// for a record whose name leaves nothing.
std::string folderNameOf(const std::string& recordName, std::size_t index) {
  std::string name = recordName;
  for (char& c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '_' || c == '-';
    if (!plain) c = '_';
  }
  name.erase(0, name.find_first_not_of('.'));
  return name.empty() ? "record_" + std::to_string(index + 1) : name;
}

// `name`, or name_2, name_3, ... for the first of them not in `used`; the one
// returned is added to `used`.
std::string uniqueName(const std::string& name, std::set<std::string>& used) {
  std::string unique = name;
  for (int n = 2; !used.insert(unique).second; ++n) unique = name + "_" + std::to_string(n);
  return unique;
}

class GenomeRun {
 public:
  GenomeRun(const BatchOptions& o, Console& console, BatchProgress& progress, WorkerPool& workers,
            unsigned seed, std::ostream& err)
      : o_(o), console_(console), progress_(progress), workers_(workers), seed_(seed), err_(err) {}

  // Runs genome file `index` into `folder`, adding its rows to `rows`. Returns true
  // when the run was interrupted.
  bool run(std::size_t index, const std::string& name, std::vector<SummaryRow>& rows) {
    index_ = index;
    const auto started = std::chrono::steady_clock::now();
    GenomeInput genome;
    genome.fileName = o_.genomes[index];
    const std::string folder = o_.out + "/" + name;
    const std::string error = guarded([&] {
      const std::string problem = load(genome);
      return problem.empty() ? problem : "failed: " + problem;
    });
    if (!error.empty()) {
      rows.emplace_back(name);
      rows.back().status = error;
      return false;
    }
    if (!o_.perRecord || genome.genome.status != GenomeStatus::kOk)
      return one(genome, name, folder, started, rows);
    std::set<std::string> used;
    for (std::size_t r = 0; r < genome.genome.records.size(); ++r) {
      const GenomeRecord& record = genome.genome.records[r];
      const std::string sub = uniqueName(folderNameOf(record.name, r), used);
      const std::int64_t letters = record.joinedEnd - record.joinedStart;
      // At least --min-record letters, and more than the first window, are scanned.
      if (letters < o_.minRecord || letters <= o_.first.windowSize) {
        SummaryRow skipped(name + "/" + sub);
        skipped.length = letters;
        skipped.status = letters < o_.minRecord
                             ? "skipped: " + std::to_string(letters) +
                                   " letters, fewer than --min-record " +
                                   std::to_string(o_.minRecord)
                             : std::string("skipped: shorter than the first window");
        rows.push_back(skipped);
        continue;
      }
      GenomeInput part;
      part.fileName = genome.fileName;
      const std::string problem = guarded([&] {
        part.genome = recordGenome(genome.genome, r);
        return std::string();
      });
      if (!problem.empty()) {
        rows.emplace_back(name + "/" + sub);
        rows.back().status = problem;
        continue;
      }
      if (one(part, name + "/" + sub, folder + "/" + sub, std::chrono::steady_clock::now(), rows))
        return true;
    }
    return false;
  }

 private:
  // Runs `step`, which returns a status; what it throws (out of memory, a system
  // call's failure) becomes "failed: reason" for this genome alone.
  template <typename Step>
  static std::string guarded(Step step) {
    try {
      return step();
    } catch (const std::bad_alloc&) {
      return "failed: out of memory: this genome, k or pool size needs more memory than the "
             "machine can give";
    } catch (const std::system_error& e) {  // std::filesystem_error among them
      return "failed: " + oneLine(e.what());
    }
  }

  static std::string oneLine(std::string text) {
    for (char& c : text)
      if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    return text;
  }

  // Reads the genome and its annotation: a flat file's own, or --annotation's for a
  // FASTA genome. Features that do not fit the genome are warned of and left out.
  std::string load(GenomeInput& genome) {
    const bool standardInput = genome.fileName == "-";
    if (standardInput) {
      if (!stdinRead_ && !readStandardInput(stdin_, stdinError_)) stdin_.clear();
      stdinRead_ = true;
      if (!stdinError_.empty()) return stdinError_;
      genome.fileName = "standard input";
    }
    if (!o_.annotation.empty() && !gffRead_) {
      int openError = 0;
      const std::unique_ptr<ByteSource> in = openInputFile(o_.annotation, openError);
      if (!in) gffError_ = systemErrorText("Cannot open " + o_.annotation, openError);
      if (!in || !readGff3(*in, o_.annotation, gff_, gffError_)) gff_ = {};
      gffRead_ = true;
    }
    const bool gff = !o_.annotation.empty() && gffError_.empty();
    AnnotatedGenome input;
    // The last genome takes --annotation's features; the others copy them.
    std::string error =
        readAnnotatedGenome(genome.fileName, gff ? &gff_ : nullptr, index_ + 1 == o_.genomes.size(),
                            input, standardInput ? &stdin_ : nullptr);
    if (!error.empty()) return error;
    // A GFF3 file that cannot be read fails the genomes it was given for.
    if (!gffError_.empty() && input.genome.status == GenomeStatus::kOk && !input.annotated)
      return gffError_;
    genome.genome = std::move(input.genome);
    annotated_ = input.annotated;
    annotation_ = std::move(input.annotation);
    for (const std::string& w : input.readerWarnings)
      err_ << "morvale-run: warning: " << w << std::endl;
    if (genome.genome.headerInsideLine)
      err_ << "morvale-run: " << genome.fileName << ": line " << genome.genome.headerInsideLine
           << ": '>' inside a line starts a header there" << std::endl;
    error = duplicateRecordProblem(genome.genome, genome.fileName);
    if (!error.empty()) return error;
    const std::vector<std::string>& warnings = input.warnings;
    for (std::size_t w = 0; w < warnings.size() && w < kWarningsShown; ++w)
      err_ << "morvale-run: " << genome.fileName << ": warning: " << warnings[w] << std::endl;
    if (warnings.size() > kWarningsShown) {
      err_ << "morvale-run: " << genome.fileName << ": warning: and "
           << warnings.size() - kWarningsShown << " more features left out" << std::endl;
    }
    return "";
  }

  // One genome (or record) into `folder`; adds its row.
  bool one(GenomeInput& genome, const std::string& name, const std::string& folder,
           std::chrono::steady_clock::time_point started, std::vector<SummaryRow>& rows) {
    rows.emplace_back(name);
    SummaryRow& s = rows.back();
    const std::string status = guarded([&] { return phases(genome, folder, s); });
    s.status = status;
    s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return status == "interrupted";
  }

  // Both phases and the reports; returns the status.
  std::string phases(GenomeInput& genome, const std::string& folder, SummaryRow& s) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return "failed: cannot create " + folder + ": " + ec.message();
    if (o_.force) {
      const std::string problem = removeOwnFiles(folder);
      if (!problem.empty()) return "failed: " + problem;
    }
    if (!workers_.startError().empty()) return "failed: " + workers_.startError();
    std::vector<std::string> problems = firstPhaseGenomeProblems(genome, o_.first.windowSize);
    if (!problems.empty()) return "failed: " + problems.back();
    describeGenome(genome);
    s.length = genome.genome.length;
    s.gcPercent = report::gcPercent(genome.genome.letters, 0, s.length);
    if (genome.genome.records.size() > 1) {
      s.note = std::to_string(genome.genome.records.size()) +
               " records scanned as one genome; --per-record scans each on its own";
    }
    // The assemblies' console messages and complaints are the dialogue's, not this
    // command's: "Unable to open 0" after a refinement without rows becomes a note.
    std::ofstream quiet;
    PhaseRunner runner(o_.first.measure, folder, console_, progress_, workers_, quiet, quiet);
    const int count = static_cast<int>(o_.genomes.size());
    const int number = static_cast<int>(index_) + 1;
    progress_.phaseStarted(number, count, s.name, "first phase");
    ScanOutcome outcome = runner.firstPhase(o_.first, genome, seed_);
    if (outcome.result == ScanResult::kInterrupted) return "interrupted";
    if (outcome.result == ScanResult::kFailed) return "failed: " + outcome.error;
    s.windowsTested = outcome.windowsTested;
    FirstAssemblySettings assembly{o_.cutoff, o_.minWindows};
    RunRecord extra;
    extra.set("cutoff_rule", o_.cutoffByRank ? "rank" : "given");
    if (o_.cutoffByRank) {
      extra.setReal("auto_fraction", o_.autoFraction);
      std::vector<double> pValues;
      if (!firstPhasePValues(runner.names().firstScores, pValues))
        return "failed: cannot read " + runner.names().firstScores;
      const RankCutoff rule = rankCutoff(pValues, outcome.windowsTested, o_.autoFraction);
      if (rule.found) {
        assembly.cutoff = rule.cutoff;
        extra.set("cutoff_rank", rule.rank);
      } else {
        assembly.cutoff = -1.0;  // selects nothing
        extra.set("cutoff", "none");
        s.note += std::string(s.note.empty() ? "" : "; ") + "no window-score rows, so no islands";
      }
    }
    s.cutoff = extra.get("cutoff").empty() ? exactRealText(assembly.cutoff) : "none";
    std::string error = runner.firstAssembly(assembly, extra);
    if (!error.empty()) return "failed: " + error;

    std::string scores = runner.names().firstScores;
    std::string islands = runner.names().firstIslands;
    if (o_.refine) {
      IslandList list = readIslandList(islands, quiet);
      if (!list.values.empty()) {
        const std::string problem =
            refinementListProblem(list, islands, genome, o_.refinement.windowSize);
        if (!problem.empty()) return "failed: " + problem;
        progress_.phaseStarted(number, count, s.name, "refinement");
        outcome = runner.refinement(o_.refinement, o_.first.tupleSize, genome, islands, list.values,
                                    seed_);
        if (outcome.result == ScanResult::kInterrupted) return "interrupted";
        if (outcome.result == ScanResult::kFailed) return "failed: " + outcome.error;
        std::error_code missing;
        if (!fs::exists(runner.names().refinementScores, missing))
          s.note += std::string(s.note.empty() ? "" : "; ") + "refinement kept no window";
        error = runner.refinementAssembly(o_.refinement.cutoff, o_.refinement.voteThreshold);
        if (!error.empty()) return "failed: " + error;
        scores = runner.names().refinementScores;
        islands = runner.names().refinementIslands;
      }
    }
    progress_.finishLine();

    report::Inputs in;
    if (!report::loadRun(genome.genome, genome.fileName, scores, islands, true, in, error))
      return "failed: " + error;
    if (annotated_ && !o_.perRecord) {
      report::annotate(in, std::move(annotation_));  // already placed on this genome's records
    } else if (annotated_) {
      Annotation mine;
      mine.file = annotation_.file;
      std::set<std::string> records;
      for (const GenomeRecord& r : genome.genome.records) records.insert(r.name);
      for (const Feature& f : annotation_.features)
        if (records.count(f.record)) mine.features.push_back(f);
      report::annotate(in, std::move(mine));
    }
    for (const report::Island& island : in.islands) s.islandLetters += island.end - island.start;
    s.islands = in.islands.size();
    error = report::writeReportFiles(
        in, {folder + "/islands.bed", folder + "/islands.gff3", folder + "/islands.tsv",
             folder + "/scores.svg", folder + "/report.html", folder + "/genes.tsv"});
    if (!error.empty()) return "failed: " + error;
    return "done";
  }

  const BatchOptions& o_;
  Console& console_;
  BatchProgress& progress_;
  WorkerPool& workers_;
  unsigned seed_;
  std::ostream& err_;
  std::size_t index_ = 0;
  bool annotated_ = false;
  Annotation annotation_;  // of the genome being run
  bool gffRead_ = false;   // --annotation, read once for every genome
  Annotation gff_;
  std::string gffError_;
  bool stdinRead_ = false;  // "-": standard input, read whole once
  std::string stdin_;
  std::string stdinError_;
};

}  // namespace

std::string genomeName(const std::string& path, std::size_t index) {
  if (path == "-") return "stdin";
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
  for (const char* ending : {".fasta", ".fa", ".fna", ".fas", ".fsa", ".seq", ".txt", ".gbk", ".gb",
                             ".gbff", ".genbank", ".embl"})
    if (strip(ending)) break;
  for (char& c : name)
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '_';
  name.erase(0, name.find_first_not_of('.'));
  return name.empty() ? "genome_" + std::to_string(index + 1) : name;
}

int runBatch(const BatchOptions& o, Console& console, std::ostream& err, bool terminal) {
  std::vector<std::string> names;
  // The run's own files are not genome folders.
  std::set<std::string> used = {"summary.tsv", "summary.tsv.tmp", "index.html", "index.html.tmp",
                                "jobs",        lockFilePath("")};
  for (std::size_t i = 0; i < o.genomes.size(); ++i)
    names.push_back(o.name.empty() ? uniqueName(genomeName(o.genomes[i], i), used) : o.name);
  // A workflow's job (--row) shares the output folder with the others: it owns only
  // its genome's folder, which it locks, and its row file.
  const bool job = !o.rowFile.empty();
  const std::string summaryPath = job ? o.rowFile : o.out + "/summary.tsv";
  if (!o.force) {
    std::error_code ec;
    bool holds = !job && fs::exists(summaryPath, ec);
    for (const std::string& name : names) holds = holds || fs::exists(o.out + "/" + name, ec);
    if (holds) {
      err << "morvale-run: the folder " << o.out
          << " already holds results; use --force to replace them, or another --out" << std::endl;
      return 2;
    }
  }
  std::error_code ec;
  const std::string locked = job ? o.out + "/" + names[0] : o.out;
  for (const fs::path& folder : {fs::path(locked), fs::path(o.rowFile).parent_path()}) {
    if (!folder.empty()) fs::create_directories(folder, ec);
    if (ec) {
      err << "morvale-run: cannot create the folder " << folder.string() << ": " << ec.message()
          << std::endl;
      return 1;
    }
  }
  std::string notice;
  std::string error;
  const std::unique_ptr<FolderLock> lock = FolderLock::take(locked, console.now(), notice, error);
  if (!lock) {
    err << "morvale-run: " << error << std::endl;
    return 1;
  }
  if (!notice.empty()) err << "morvale-run: " << notice << std::endl;

  const unsigned seed = o.seedGiven ? o.seed : static_cast<unsigned>(console.now());
  BatchProgress progress(err, terminal, o.quiet);
  WorkerPool workers(o.threads);
  GenomeRun genomeRun(o, console, progress, workers, seed, err);
  std::vector<SummaryRow> rows;
  bool interrupted = false;
  bool failed = false;
  for (std::size_t i = 0; i < o.genomes.size(); ++i) {
    if (interrupted) {
      rows.emplace_back(names[i]);
      continue;
    }
    const std::size_t first = rows.size();
    interrupted = genomeRun.run(i, names[i], rows);
    progress.finishLine();
    for (std::size_t r = first; r < rows.size(); ++r) {
      if (rows[r].status.rfind("failed: ", 0) != 0) continue;
      failed = true;
      err << "morvale-run: " << o.genomes[i] << (o.perRecord ? " (" + rows[r].name + ")" : "")
          << ": " << rows[r].status.substr(8) << std::endl;
    }
  }
  error = job ? writeWhole(o.rowFile, summaryTable(rows)) : writeSummary(o.out, rows);
  if (!error.empty()) {
    err << "morvale-run: " << error << std::endl;
    failed = true;
  }
  if (interrupted) {
    err << "morvale-run: stopped; the genomes finished before stay whole" << std::endl;
    return 128 + (stopSignal() != 0 ? stopSignal() : SIGINT);
  }
  return failed ? 1 : 0;
}

}  // namespace morvale
