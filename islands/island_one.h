// First-phase island assembly: select the window-score rows at or below a p-value
// cut-off, order them by window start, chain overlapping or touching windows, and
// write each run of enough windows as one line of the islands file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvale {

class cIslandI {
 public:
  std::int32_t overlapCount = 0;
  std::int64_t windowCount = 0;
  double cutoff = 0.0;
  std::vector<std::int64_t> windowSizes;
  std::vector<std::int64_t> windowCentres;  // truncated toward zero
  std::vector<double> pValues;
  std::string scoreFileName;
  std::string islandsFileName;

  // Counting pass: the number of selected rows, also stored in windowCount.
  int checkfile();
  // Loading pass: fills the three arrays with the selected rows in file order.
  void readfile();
  // Orders the entries by window start; equal starts keep their file order.
  void Sort_on_position();
  // Chains the entries and writes the islands file. False when it could not be written.
  bool Calculate_Island();
};

// Reads `scoreFileName`, writes `islandsFileName`. Both passes stop at the first
// row that cannot be read whole or that repeats the previous row's centre and
// p-value. Returns false (after one line on standard error naming the file and the
// reason) when the islands file could not be written.
bool cordsortI(int overlapCount, double cutoff, const std::string& scoreFileName,
               const std::string& islandsFileName);

}  // namespace morvale
