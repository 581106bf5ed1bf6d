#include "batch/output_layout.h"

#include "base/folder_lock.h"
#include "base/whole_file.h"
#include "islands/result_files.h"

namespace morvale::layout {

namespace {

// By GenomeFile.
const LayoutEntry kGenomeFiles[] = {
    {"islands.bed", "the final islands as a BED track"},
    {"islands.gff3", "the same as GFF3"},
    {"islands.tsv", "the islands table"},
    {"islands.fasta", "the letters of each island as the genome file has them (FASTA)"},
    {"scores.svg", "the scores along the genome"},
    {"report.html", "a page to explore it all, offline"},
    {"genes.tsv", "the genes of each island (annotated genomes only)"},
    {"natural.tsv", "with --natural: every window's score: record, start, end, score"},
    {"natural.run.txt",
     "with --natural: its run record: version, genome checksum, settings, cut-off; present "
     "only when the scan's files are whole"},
    {"evidence.tsv",
     "annotated genomes: each island's genes, atypical genes (codon usage, GC3, dinucleotides), "
     "mobility genes and tRNA sites"},
    {"genes.gff3", "with --call-genes: the genes Prodigal called"},
};

// By RunFile.
const LayoutEntry kRunFiles[] = {
    {"summary.tsv", "one row per genome: length, GC, islands, cut-off, status"},
    {"index.html", "the summary as a page (a run of several genomes)"},
    {"island_clusters.tsv",
     "with two genomes or more: every island with its cluster of similar islands across genomes"},
    {kJobsFolder, "the workflow jobs' summary rows, logs and marks (--row, --collect)"},
    {"morvale.lock", "held while a run uses the folder"},
};

}  // namespace

const std::vector<LayoutEntry>& genomeFolderEntries() {
  static const std::vector<LayoutEntry> entries = [] {
    std::vector<LayoutEntry> e = {
        {"KL-first.txt", "first-phase window scores: window size, centre, p-value"},
        {"KL-first-Islands.txt", "first-phase islands: start, end (0-based offsets)"},
        {"KL-refinement.txt", "refinement window scores"},
        {"KL-refinement-Islands.txt", "refinement islands"},
        {"KL-first.run.txt",
         "run record of each phase (KL-refinement.run.txt): version, genome checksum, settings, "
         "seed; present only when the phase's files are whole"},
    };
    e.insert(e.end(), std::begin(kGenomeFiles), std::end(kGenomeFiles));
    return e;
  }();
  return entries;
}

const std::vector<LayoutEntry>& runFolderEntries() {
  static const std::vector<LayoutEntry> entries(std::begin(kRunFiles), std::end(kRunFiles));
  return entries;
}

const char* genomeFileName(GenomeFile file) {
  return kGenomeFiles[static_cast<int>(file)].name;
}

std::string genomePath(const std::string& folder, GenomeFile file) {
  return folder + "/" + genomeFileName(file);
}

std::string runPath(const std::string& out, RunFile file) {
  if (file == RunFile::kLock) return lockFilePath(out);
  return out + "/" + kRunFiles[static_cast<int>(file)].name;
}

std::vector<std::string> genomeFolderFiles(const std::string& folder) {
  std::vector<std::string> files;
  for (int measure = 1; measure <= 3; ++measure) {
    const ResultFileNames n = resultFileNames(measure, folder);
    files.insert(files.end(), {n.firstScores, n.firstIslands, n.refinementScores,
                               n.refinementIslands, n.firstRecord, n.refinementRecord});
  }
  for (const LayoutEntry& f : kGenomeFiles) files.push_back(folder + "/" + f.name);
  return files;
}

std::vector<std::string> reservedNames() {
  std::vector<std::string> names;
  for (const LayoutEntry& f : kRunFiles) {
    names.push_back(f.name);
    names.push_back(temporaryPathOf(f.name));
  }
  return names;
}

bool reservedName(const std::string& name) {
  for (const std::string& reserved : reservedNames())
    if (name == reserved) return true;
  return false;
}

std::string jobRowPath(const std::string& out, const std::string& name) {
  return runPath(out, RunFile::kJobs) + "/" + name + ".tsv";
}

std::string jobLogPath(const std::string& out, const std::string& name) {
  return runPath(out, RunFile::kJobs) + "/" + name + ".log";
}

}  // namespace morvale::layout
