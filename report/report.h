// The run report: reads a genome, a window-score file and an islands file of
// either phase, and turns them into BED and GFF3 tracks, an island table, and the
// data behind the score plot.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "kmer/genome.h"

namespace morvale::report {

struct ScoreRow {
  std::int64_t size;
  std::int64_t start;  // window span [start, end), from the centre as readers take it
  std::int64_t end;
  double p;
};

struct Island {
  std::int64_t start;  // 0-based, end exclusive
  std::int64_t end;
  int windows = 0;     // window rows whose span lies inside the island
  double bestP = 1.0;  // smallest p-value among them (1 when none)
  double gcPercent = 0.0;
};

struct Inputs {
  std::string genomeFile, scoresFile, islandsFile;
  std::string sequenceName;
  std::int64_t genomeLength = 0;
  double gcPercent = 0.0;
  std::string letters;
  std::vector<ScoreRow> rows;
  std::vector<Island> islands;
};

// Reads and checks the three files. On failure returns false with `error` set to
// one line naming the file and the problem.
bool loadInputs(const std::string& genomeFile, const std::string& scoresFile,
                const std::string& islandsFile, Inputs& in, std::string& error);

// The same for a genome already read from `genomeFile`. A window-score file that
// does not exist counts as one without rows when `noScoresIsEmpty` (a scan that
// selects no window leaves none).
bool loadRun(Genome genome, const std::string& genomeFile, const std::string& scoresFile,
             const std::string& islandsFile, bool noScoresIsEmpty, Inputs& in, std::string& error);

// GC percentage of letters [start, end) of the genome string (0 for an empty range).
double gcPercent(const std::string& letters, std::int64_t start, std::int64_t end);

// -log10 p, with p = 0 taken as the smallest positive double.
double minusLog10(double p);

void writeBed(std::ostream& out, const Inputs& in);
void writeGff3(std::ostream& out, const Inputs& in);
void writeTable(std::ostream& out, const Inputs& in);

}  // namespace morvale::report
