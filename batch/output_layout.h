// The layout of morvale-run's output folder, named once: the files of a genome's
// folder, the files and folders of the output folder, and the names the output
// folder keeps for itself. Writers, readers, --force, the name rules, the help and
// the manual pages all take their names from here.
#pragma once

#include <string>
#include <vector>

namespace morvale::layout {

// The files of a genome's folder besides the phases' result files (KL-first.txt, ...).
enum class GenomeFile {
  kIslandsBed,
  kIslandsGff3,
  kIslandsTsv,
  kIslandsFasta,
  kScoresSvg,
  kReportHtml,
  kGenesTsv,
  kNaturalTsv,
  kNaturalRecord,
  kEvidenceTsv,
  kGenesGff3,
};

// The files and folders of the output folder itself.
enum class RunFile { kSummary, kIndex, kClusters, kJobs, kLock };

// The output folder's folder of workflow jobs (RunFile::kJobs).
constexpr const char* kJobsFolder = "jobs";

// A file as the help lists it: its name and what it holds.
struct LayoutEntry {
  const char* name;
  const char* what;
};

// Every file of a genome's folder, in the order the help lists them: first the
// phases' result files (named for measures 3 and 6), then the GenomeFile ones.
const std::vector<LayoutEntry>& genomeFolderEntries();
// Every file and folder of the output folder, in RunFile order ("jobs/" for kJobs).
const std::vector<LayoutEntry>& runFolderEntries();

// folder/NAME of a genome's file.
std::string genomePath(const std::string& folder, GenomeFile file);
// The name alone ("islands.bed"), for links relative to a genome's folder.
const char* genomeFileName(GenomeFile file);
// out/NAME of the output folder's own file ("jobs" for kJobs).
std::string runPath(const std::string& out, RunFile file);

// Every file Morvale writes into a genome's folder (the phases' files of every
// measure included), as paths under `folder`; --force removes them first.
std::vector<std::string> genomeFolderFiles(const std::string& folder);

// True when `name` may not name a genome folder because the output folder keeps it
// for itself: its own files and folders, and their temporary names.
bool reservedName(const std::string& name);
// The reserved names, one per line (the workflow reads them).
std::vector<std::string> reservedNames();

// Where the workflow job of genome `name` keeps its summary rows (out/jobs/NAME.tsv)
// and its messages (out/jobs/NAME.log).
std::string jobRowPath(const std::string& out, const std::string& name);
std::string jobLogPath(const std::string& out, const std::string& name);

}  // namespace morvale::layout
