#include "batch/collect.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "base/folder_lock.h"
#include "base/tsv_text.h"
#include "batch/island_presence.h"
#include "batch/output_layout.h"
#include "batch/sample_sheet.h"
#include "batch/summary.h"

namespace morvale {

namespace fs = std::filesystem;

namespace {

// The genomes' names: the sheet's name column, or the stems of folder/jobs/*.tsv.
bool genomeNames(const std::string& folder, const std::string& sheet,
                 std::vector<std::string>& names, std::string& error) {
  const std::string jobs = layout::runPath(folder, layout::RunFile::kJobs);
  std::error_code ec;
  if (!fs::is_directory(jobs, ec)) {
    error = folder + " holds no " + layout::kJobsFolder +
            "/ folder: it is not the output folder of a workflow";
    return false;
  }
  if (sheet.empty()) {
    for (const fs::directory_entry& entry : fs::directory_iterator(jobs, ec))
      if (entry.path().extension() == ".tsv") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    if (names.empty()) error = "no job rows in " + jobs;
    return !names.empty();
  }
  std::vector<SampleRow> rows;
  if (!readSampleSheet(sheet, false, rows, error)) return false;
  for (const SampleRow& row : rows) names.push_back(row.name);
  return true;
}

// Why the job of genome `name` left no row: the last line of its log, else that it
// wrote none.
std::string jobEnd(const std::string& folder, const std::string& name) {
  std::ifstream log(layout::jobLogPath(folder, name));
  std::string line, last;
  while (std::getline(log, line))
    if (line.find_first_not_of(" \t\r") != std::string::npos) last = line;
  const std::string prefix = "morvale-run: ";
  if (last.compare(0, prefix.size(), prefix) == 0) last.erase(0, prefix.size());
  return last.empty() ? "its job ended without a summary row" : "its job ended: " + last;
}

}  // namespace

int collectSummary(const std::string& folder, const std::string& sheet,
                   const compare::ClusterSettings& clusters, std::time_t now, std::ostream& err) {
  std::vector<std::string> names;
  std::string error;
  if (!genomeNames(folder, sheet, names, error)) {
    err << "morvale-run: " << error << std::endl;
    return 2;
  }
  std::string notice;
  const std::unique_ptr<FolderLock> lock = FolderLock::take(folder, now, notice, error);
  if (!lock) {
    err << "morvale-run: " << error << std::endl;
    return 1;
  }
  if (!notice.empty()) err << "morvale-run: " << notice << std::endl;

  std::vector<SummaryRow> rows;
  for (const std::string& name : names) {
    const std::string path = layout::jobRowPath(folder, name);
    std::vector<SummaryRow> job;
    std::error_code ec;
    if (!fs::exists(path, ec)) {
      rows.emplace_back(name);
      rows.back().note = "no summary row from its job (" + path + ")";
    } else if (fs::file_size(path, ec) == 0 || (readSummary(path, job, error) && job.empty())) {
      // The job ended before it wrote its rows (killed, out of memory on the node).
      rows.emplace_back(name);
      rows.back().status = RunStatus::failed(jobEnd(folder, name));
    } else if (!error.empty()) {
      rows.emplace_back(name);
      rows.back().status = RunStatus::failed(error);
    } else {
      rows.insert(rows.end(), job.begin(), job.end());
    }
    error.clear();
  }
  // Steps over every genome folder at once go here: the genomes' rows are known and
  // the summary is not yet written. Islands across the genomes that finished:
  std::vector<std::string> finished;
  for (const SummaryRow& row : rows)
    if (row.status.is(RunState::kDone)) finished.push_back(row.name);
  const IslandPresence presence = clusterIslandsAcross(folder, finished, clusters);
  bool ok = presence.error.empty();
  if (!ok) err << "morvale-run: " << presence.error << std::endl;
  for (const SummaryRow& row : rows) {
    if (row.status.is(RunState::kDone) || row.status.is(RunState::kSkipped)) continue;
    ok = false;
    err << "morvale-run: " << row.name << ": " << statusText(row.status) << std::endl;
  }
  error = writeSummary(folder, rows, presence.html);
  if (!error.empty()) {
    err << "morvale-run: " << error << std::endl;
    return 1;
  }
  return ok ? 0 : 1;
}

}  // namespace morvale
