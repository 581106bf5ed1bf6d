#include "batch/batch_run.h"

#include <csignal>
#include <filesystem>
#include <set>
#include <system_error>

#include "base/file_paths.h"
#include "base/folder_lock.h"
#include "base/stop_signal.h"
#include "base/whole_file.h"
#include "batch/batch_progress.h"
#include "batch/genome_run.h"
#include "batch/island_presence.h"
#include "batch/output_layout.h"
#include "batch/summary.h"

namespace morvale {

namespace fs = std::filesystem;

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
  const std::vector<std::string> reserved = layout::reservedNames();
  std::set<std::string> used(reserved.begin(), reserved.end());
  for (std::size_t i = 0; i < o.genomes.size(); ++i)
    names.push_back(o.name ? *o.name : uniqueName(genomeName(o.genomes[i], i), used));
  // A workflow's job (--row) shares the output folder with the others: it owns only
  // its genome's folder, which it locks, and its row file.
  const bool job = o.rowFile.has_value();
  if (job) {
    std::vector<std::string> inputs = o.genomes;
    if (o.annotation) inputs.push_back(*o.annotation);
    for (const std::string& input : inputs) {
      if (input != "-" && sameFile(*o.rowFile, input)) {
        err << "morvale-run: --row " << *o.rowFile << " is the input " << input
            << "; choose another file for the rows" << std::endl;
        return 2;
      }
    }
    if (insideFolder(*o.rowFile, o.out + "/" + names[0])) {
      err << "morvale-run: --row " << *o.rowFile << " lies inside the genome's folder "
          << o.out + "/" + names[0] << "; choose a file outside it" << std::endl;
      return 2;
    }
  }
  const std::string summaryPath =
      job ? *o.rowFile : layout::runPath(o.out, layout::RunFile::kSummary);
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
  for (const fs::path& folder :
       {fs::path(locked), fs::path(o.rowFile.value_or("")).parent_path()}) {
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

  const unsigned seed = o.seed.value_or(static_cast<unsigned>(console.now()));
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
      if (!rows[r].status.is(RunState::kFailed)) continue;
      failed = true;
      err << "morvale-run: " << o.genomes[i] << (o.perRecord ? " (" + rows[r].name + ")" : "")
          << ": " << rows[r].status.reason << std::endl;
    }
  }
  // Islands across genomes, from the folders that finished (none after Ctrl-C, which
  // leaves no clusters of an earlier run behind either).
  IslandPresence presence;
  if (!job) {
    std::vector<std::string> finished;
    for (const SummaryRow& row : rows)
      if (row.status.is(RunState::kDone) && !interrupted) finished.push_back(row.name);
    presence = clusterIslandsAcross(o.out, finished, {o.clusterDistance});
  }
  if (!presence.error.empty()) {
    err << "morvale-run: " << presence.error << std::endl;
    failed = true;
  }
  error = job ? writeWholeFile(*o.rowFile, summaryTable(rows))
              : writeSummary(o.out, rows, presence.html);
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
