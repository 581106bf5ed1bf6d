// Refinement island assembly: count, per window position, how many consecutive
// scorings selected it (majority voting), keep the windows selected often enough,
// and chain the kept windows into the refinement islands file.
#pragma once

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "islands/result_files.h"

namespace morvale {

class cIslandII {
 public:
  std::int32_t voteThreshold = 0;
  std::int32_t minWindows = 1;
  std::int64_t rowCount = 0;
  std::int64_t keptCount = 0;
  double cutoff = 0.0;
  std::vector<std::int64_t> windowSizes;    // every row, in file order
  std::vector<std::int64_t> windowCentres;  // truncated toward zero
  std::vector<std::int64_t> keptSizes;
  std::vector<std::int64_t> keptCentres;
  std::vector<double> pValues;
  std::string scoreFileName;
  std::string islandsFileName;
  // The rows of the window-score file, read once by the counting pass and walked
  // again by the loading pass (so both see the same rows).
  std::vector<WindowScoreRow> rows;
  bool scoreFileRead = false;
  // Where the assembly's messages go (the console's standard output).
  std::ostream* messages = &std::cout;
  // Where its complaints about the files go (the console's standard error).
  std::ostream* errors = &std::cerr;

  // Counting pass: every row that can be read whole.
  int checkfileII();
  // Loading pass: the same rows, in file order.
  void readfileII();
  // A vote group is a stretch of consecutive rows with one window start in which
  // every row after the first is at or below the cut-off; a group of at least
  // voteThreshold rows keeps the window of its last row. Each new group size from
  // 2 on is printed on a line of its own.
  void Majority_Voting();
  // Chains the kept windows in the order kept. False when the file could not be written.
  bool Calculate_IslandII();
  std::string writeError;  // "" or the one line saying why the islands file was not written
};

// Reads `scoreFileName`, writes `islandsFileName`. Returns "" or, when the islands
// file could not be written, one line naming it and the reason.
std::string cordsortII(double cutoff, const std::string& scoreFileName,
                       const std::string& islandsFileName, int voteThreshold,
                       std::ostream& messages = std::cout, std::ostream& errors = std::cerr);

}  // namespace morvale
