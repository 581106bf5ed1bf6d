#include "report/report.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <utility>

#include "base/number_text.h"
#include "islands/result_files.h"
#include "kmer/genome.h"

namespace morvale::report {

namespace {

// The name of the first record, or the file's base name.
std::string sequenceName(const Genome& genome, const std::string& fileName) {
  if (!genome.records.empty() && !genome.records[0].name.empty()) return genome.records[0].name;
  const std::size_t slash = fileName.find_last_of('/');
  return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

bool readScores(Inputs& in, bool noScoresIsEmpty, std::string& error) {
  std::string text;
  if (!readWholeFile(in.scoresFile, text)) {
    if (noScoresIsEmpty && errno == ENOENT) return true;
    error = in.scoresFile + ": cannot open the window-score file";
    return false;
  }
  std::int64_t bad = 0;
  const std::vector<WindowScoreRow> rows = parseWindowScoreRows(text, bad);
  if (bad) {
    error = in.scoresFile + ": row " + std::to_string(bad) + " is not a window-score row";
    return false;
  }
  std::int64_t number = 0;
  for (const WindowScoreRow& row : rows) {
    ++number;
    const std::int64_t centre = centreInteger(row.windowCentre);
    const ScoreRow r{row.windowSize, spanStart(row.windowSize, centre),
                     spanEnd(row.windowSize, centre), row.pValue};
    if (r.start < 0 || r.end > in.genomeLength) {
      error = in.scoresFile + ": row " + std::to_string(number) + " (window " +
              std::to_string(r.start) + "-" + std::to_string(r.end) + ") lies beyond the " +
              std::to_string(in.genomeLength) + " letters of the genome";
      return false;
    }
    in.rows.push_back(r);
  }
  return true;
}

bool readIslands(Inputs& in, std::string& error) {
  std::ifstream file(in.islandsFile);
  if (!file) {
    error = in.islandsFile + ": cannot open the islands file";
    return false;
  }
  long long start = 0;
  long long end = 0;
  for (std::int64_t line = 1; file >> start; ++line) {
    if (!(file >> end)) {
      error = in.islandsFile + ": island " + std::to_string(line) + " has no end";
      return false;
    }
    // Islands files write a start of 0 as 1: such an island reaches the genome's start.
    if (start == 1) start = 0;
    if (start < 0 || end <= start || end > in.genomeLength) {
      error = in.islandsFile + ": island " + std::to_string(line) + " (" + std::to_string(start) +
              "-" + std::to_string(end) + ") does not lie within the " +
              std::to_string(in.genomeLength) + " letters of the genome";
      return false;
    }
    in.islands.push_back(Island{start, end});
  }
  if (!file.eof()) {
    error = in.islandsFile + ": holds text where a number was expected";
    return false;
  }
  return true;
}

// Counts, for every island, the window rows whose span lies inside it and their
// best p-value; rows are visited in start order so each island looks at its own.
void summariseIslands(Inputs& in) {
  std::vector<ScoreRow> rows = in.rows;
  std::sort(rows.begin(), rows.end(),
            [](const ScoreRow& a, const ScoreRow& b) { return a.start < b.start; });
  for (Island& island : in.islands) {
    auto it = std::lower_bound(rows.begin(), rows.end(), island.start,
                               [](const ScoreRow& r, std::int64_t s) { return r.start < s; });
    for (; it != rows.end() && it->start < island.end; ++it) {
      if (it->end <= island.end) {
        ++island.windows;
        island.bestP = std::min(island.bestP, it->p);
      }
    }
    island.gcPercent = gcPercent(in.letters, island.start, island.end);
  }
}

}  // namespace

double gcPercent(const std::string& letters, std::int64_t start, std::int64_t end) {
  if (end <= start) return 0.0;
  std::int64_t gc = 0;
  for (std::int64_t i = start; i < end; ++i) {
    const char c = letters[static_cast<std::size_t>(i)];
    gc += c == 'g' || c == 'c';
  }
  return 100.0 * static_cast<double>(gc) / static_cast<double>(end - start);
}

double minusLog10(double p) {
  return -std::log10(std::max(p, std::numeric_limits<double>::denorm_min()));
}

bool loadInputs(const std::string& genomeFile, const std::string& scoresFile,
                const std::string& islandsFile, Inputs& in, std::string& error) {
  Genome genome = readgenome(genomeFile);
  if (genome.status != GenomeStatus::kOk) {
    error = genomeErrorText(genome, genomeFile);
    return false;
  }
  return loadRun(std::move(genome), genomeFile, scoresFile, islandsFile, false, in, error);
}

bool loadRun(Genome genome, const std::string& genomeFile, const std::string& scoresFile,
             const std::string& islandsFile, bool noScoresIsEmpty, Inputs& in, std::string& error) {
  in.genomeFile = genomeFile;
  in.scoresFile = scoresFile;
  in.islandsFile = islandsFile;
  if (genome.length == 0) {
    error = genomeFile + ": holds no sequence letters";
    return false;
  }
  in.sequenceName = sequenceName(genome, genomeFile);
  in.genomeLength = genome.length;
  in.letters = std::move(genome.letters);
  in.gcPercent = gcPercent(in.letters, 0, in.genomeLength);
  if (!readScores(in, noScoresIsEmpty, error) || !readIslands(in, error)) return false;
  summariseIslands(in);
  return true;
}

void writeBed(std::ostream& out, const Inputs& in) {
  double top = 0.0;
  for (const Island& island : in.islands)
    if (island.windows) top = std::max(top, minusLog10(island.bestP));
  int n = 0;
  for (const Island& island : in.islands) {
    const double best = island.windows ? minusLog10(island.bestP) : 0.0;
    const long score = top > 0.0 ? std::lround(1000.0 * best / top) : 0;
    out << in.sequenceName << '\t' << island.start << '\t' << island.end << "\tisland_" << ++n
        << '\t' << score << "\t.\n";
  }
}

void writeGff3(std::ostream& out, const Inputs& in) {
  out << "##gff-version 3\n##sequence-region " << in.sequenceName << " 1 " << in.genomeLength
      << '\n';
  int n = 0;
  for (const Island& island : in.islands) {
    out << in.sequenceName << "\tmorvale\tgenomic_island\t" << island.start + 1 << '\t'
        << island.end << "\t.\t.\t.\tID=island_" << ++n << ";windows=" << island.windows
        << ";best_p=" << (island.windows ? numberText("%g", island.bestP) : std::string("NA"))
        << ";gc=" << numberText("%.2f", island.gcPercent) << '\n';
  }
}

void writeTable(std::ostream& out, const Inputs& in) {
  out << "island\tstart\tend\tlength\twindows\tbest_p\tGC%\tdGC%\n";
  std::int64_t total = 0;
  int windows = 0;
  int n = 0;
  for (const Island& island : in.islands) {
    total += island.end - island.start;
    windows += island.windows;
    out << "island_" << ++n << '\t' << island.start << '\t' << island.end << '\t'
        << island.end - island.start << '\t' << island.windows << '\t'
        << (island.windows ? numberText("%.3g", island.bestP) : std::string("NA")) << '\t'
        << numberText("%.1f", island.gcPercent) << '\t'
        << numberText("%+.1f", island.gcPercent - in.gcPercent) << '\n';
  }
  out << "total\t" << in.islands.size() << " islands\t\t" << total << '\t' << windows << "\t\t"
      << numberText("%.1f", in.gcPercent) << " (genome)\t\n";
}

}  // namespace morvale::report
