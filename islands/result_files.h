// The result files: their names by measure, the window-score row (size TAB centre
// TAB p-value) and the islands line (start TAB end), how each is written and read.
#pragma once

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace morvale {

// The files of a measure; measures 4-6 share those of 1-3.
struct ResultFileNames {
  std::string firstScores;
  std::string firstIslands;
  std::string refinementScores;
  std::string refinementIslands;
  std::string firstRecord;       // the first phase's run record
  std::string refinementRecord;  // the refinement's run record
};
// Names for measure 1 or 4, 2 or 5, and any other value (Kullback-Leibler), inside
// `folder` ("" for the working folder).
ResultFileNames resultFileNames(int measure, const std::string& folder = "");

struct WindowScoreRow {
  std::int64_t windowSize = 0;
  double windowCentre = 0.0;
  double pValue = 0.0;
};

// A double as the default stream format writes it (%g, six significant digits).
std::string formatDefault(double v);
// A window centre written so that it reads back exactly: the default format when
// that is already exact (byte-identical to it), otherwise whole numbers in plain
// decimal and halves with ".5".
std::string formatCentre(double centre);
// "size\tcentre\tp\n".
std::string formatWindowScoreRow(const WindowScoreRow& row);

// Opens `fileName` for appending, writes the row, flushes and closes it. Returns
// false (errno set) when the row could not be written.
bool appendWindowScoreRow(const std::string& fileName, const WindowScoreRow& row);

// The rows of a window-score file: an integer and two reals per row, separated by
// white space of any kind, so only the order of the numbers matters. Reading ends
// at the end of the text or at the first row that cannot be read whole (text, a
// truncated row, nan or inf) or that no scan writes (a window size below 1, a
// negative centre, a p-value outside 0..1); `badRow` is then its number (from 1),
// otherwise 0.
std::vector<WindowScoreRow> parseWindowScoreRows(const std::string& text, std::int64_t& badRow);

// Reads the rows of a window-score file. Returns false when it cannot be opened or
// read (errno set). A bad row is reported on standard error as "Window-score file
// NAME: row N is not a valid row of three numbers; it and the rows after it are
// ignored" when `reportBad`, on `errors`.
bool readWindowScoreRows(const std::string& fileName, bool reportBad,
                         std::vector<WindowScoreRow>& rows, std::ostream& errors = std::cerr);

// Window span of a row: centre truncated toward zero, minus and plus size / 2.
std::int64_t centreInteger(double centre);
inline std::int64_t spanStart(std::int64_t size, std::int64_t centre) {
  return centre - size / 2;
}
inline std::int64_t spanEnd(std::int64_t size, std::int64_t centre) {
  return centre + size / 2;
}

// "start\tend\n", a start of 0 written as 1.
std::string formatIslandLine(std::int64_t start, std::int64_t end);

// The line "Unable to open 0" that a reader writes to standard error (`errors`).
void reportUnableToOpen(std::ostream& errors = std::cerr);

}  // namespace morvale
