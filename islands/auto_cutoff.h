// A first-phase cut-off fitted to each genome by rank: of the NT windows the first
// phase scored, the fraction F with the smallest p-values is kept. With the rows of
// the window-score file sorted by p ascending, k = ceil(F * NT) (at most the number
// of rows), the cut-off is the p of the k-th row, and every row at or below it is
// kept, ties included.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvale {

struct RankCutoff {
  bool found = false;              // false when the file holds no rows: no islands
  double cutoff = 0.0;             // the p of row k
  std::int64_t rank = 0;           // k
  std::int64_t rows = 0;           // rows in the window-score file
  std::int64_t windowsTested = 0;  // NT, skipped windows included
  double fraction = 0.0;           // F
};

// The rule over the p-values of the file's rows. F * NT is rounded up; a product
// within a relative 1e-12 of a whole number counts as that number.
RankCutoff rankCutoff(std::vector<double> pValues, std::int64_t windowsTested, double fraction);

// The p-values of a first-phase window-score file, read as the first-phase
// assembly reads its rows. False when the file cannot be read; a file that does not
// exist (a scan that selected no window) has no rows.
bool firstPhasePValues(const std::string& scoreFile, std::vector<double>& pValues);

// "the 2 % most significant of 32000 windows".
std::string rankCutoffWords(const RankCutoff& rule);

}  // namespace morvale
