#include "islands/result_files.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "base/number_text.h"
#include "base/tokens.h"
#include "base/whole_file.h"

namespace morvale {

ResultFileNames resultFileNames(int measure, const std::string& folder) {
  const char* scores = "KL";
  const char* islands = "KL";
  if (measure == 1 || measure == 4) {
    scores = "Absolute";
    islands = "Ab";
  } else if (measure == 2 || measure == 5) {
    scores = "Euclidean";
    islands = "Eu";
  }
  const std::string in = folder.empty() ? "" : folder + "/";
  const std::string s = in + scores;
  const std::string i = in + islands;
  return {s + "-first.txt",      i + "-first-Islands.txt",
          s + "-refinement.txt", i + "-refinement-Islands.txt",
          i + "-first.run.txt",  i + "-refinement.run.txt"};
}

std::string formatDefault(double v) {
  return numberText("%g", v);
}

std::string formatCentre(double centre) {
  std::string text = formatDefault(centre);
  if (!std::isfinite(centre) || std::strtod(text.c_str(), nullptr) == centre) return text;
  if (centre == std::trunc(centre)) return numberText("%.0f", centre);
  if (centre * 2.0 == std::trunc(centre * 2.0)) return numberText("%.1f", centre);
  return numberText("%.17g", centre);
}

std::string formatWindowScoreRow(const WindowScoreRow& row) {
  return std::to_string(row.windowSize) + '\t' + formatCentre(row.windowCentre) + '\t' +
         formatDefault(row.pValue) + '\n';
}

bool appendWindowScoreRow(const std::string& fileName, const WindowScoreRow& row) {
  std::FILE* f = std::fopen(fileName.c_str(), "a");
  if (!f) return false;
  const std::string text = formatWindowScoreRow(row);
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The next white-space-delimited token of `text` from `at`; empty at the end.
std::string_view nextToken(const std::string& text, std::size_t& at) {
  while (at < text.size() && isBlank(text[at])) ++at;
  const std::size_t from = at;
  while (at < text.size() && !isBlank(text[at])) ++at;
  return std::string_view(text).substr(from, at - from);
}

}  // namespace

std::vector<WindowScoreRow> parseWindowScoreRows(const std::string& text, std::int64_t& badRow) {
  std::vector<WindowScoreRow> rows;
  badRow = 0;
  std::size_t at = 0;
  for (;;) {
    const std::string_view size = nextToken(text, at);
    if (size.empty()) return rows;
    const std::string_view centre = nextToken(text, at);
    const std::string_view p = nextToken(text, at);
    long long windowSize = 0;
    WindowScoreRow row;
    const bool read = parseInteger(size, windowSize) && parseReal(centre, row.windowCentre) &&
                      parseReal(p, row.pValue);
    row.windowSize = windowSize;
    if (!read || row.windowSize < 1 || row.windowCentre < 0.0 || row.windowCentre >= 9.0e18 ||
        row.pValue < 0.0 || row.pValue > 1.0) {
      badRow = static_cast<std::int64_t>(rows.size()) + 1;
      return rows;
    }
    rows.push_back(row);
  }
}

bool readWindowScoreRows(const std::string& fileName, bool reportBad,
                         std::vector<WindowScoreRow>& rows, std::ostream& errors) {
  std::string text;
  if (!readWholeFile(fileName, text)) return false;
  std::int64_t bad = 0;
  rows = parseWindowScoreRows(text, bad);
  if (bad && reportBad) {
    errors << "Window-score file " << fileName << ": row " << bad
           << " is not a valid row of three numbers; it and the rows after it are ignored"
           << std::endl;
  }
  return true;
}

std::int64_t centreInteger(double centre) {
  // Truncation toward zero; values outside the 64-bit range cannot come from a
  // scan and are pinned to the range instead of overflowing.
  if (!(centre > -9.2e18)) return centre != centre ? 0 : INT64_MIN;
  if (!(centre < 9.2e18)) return INT64_MAX;
  return static_cast<std::int64_t>(centre);
}

std::string formatIslandLine(std::int64_t start, std::int64_t end) {
  return std::to_string(start == 0 ? 1 : start) + '\t' + std::to_string(end) + '\n';
}

void reportUnableToOpen(std::ostream& errors) {
  errors << "Unable to open " << 0 << std::endl;
}

}  // namespace morvale
