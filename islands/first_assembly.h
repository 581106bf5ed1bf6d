// First-phase island assembly: select the window-score rows at or below a p-value
// cut-off, order them by window start, chain overlapping or touching windows, and
// write each run of enough windows as one line of the islands file.
#pragma once

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "islands/result_files.h"

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
  // The rows of the window-score file, read once by the counting pass and walked
  // again by the loading pass (so both see the same rows).
  std::vector<WindowScoreRow> rows;
  bool scoreFileRead = false;
  // Where the assembly's messages go (the console's standard output).
  std::ostream* messages = &std::cout;
  // Where its complaints about the files go (the console's standard error).
  std::ostream* errors = &std::cerr;

  // Counting pass: the number of selected rows, also stored in windowCount.
  int checkfile();
  // Loading pass: fills the three arrays with the selected rows in file order.
  void readfile();
  // Orders the entries by window start; equal starts keep their file order.
  void Sort_on_position();
  // Chains the entries and writes the islands file. False (writeError set) when it
  // could not be written.
  bool Calculate_Island();
  std::string writeError;  // "" or the one line saying why the islands file was not written
};

// The rows the first phase's assembly reads: a row ends the reading when its centre
// (as read) equals the previous row's truncated centre and its p-value equals the
// previous p-value (both start at 0); the rows before it are read.
std::size_t firstPhaseRowCount(const std::vector<WindowScoreRow>& rows);

// Reads `scoreFileName`, writes `islandsFileName`. Both passes stop at the first
// row that cannot be read whole or that repeats the previous row's centre and
// p-value; a file that cannot be opened gives "Unable to open 0" on `errors`
// for each pass and an empty islands file. Returns "" or, when the islands file
// could not be written, one line naming it and the reason.
std::string cordsortI(int overlapCount, double cutoff, const std::string& scoreFileName,
                      const std::string& islandsFileName, std::ostream& messages = std::cout,
                      std::ostream& errors = std::cerr);

}  // namespace morvale
