#include "islands/result_files.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

namespace morvale {

ResultFileNames resultFileNames(int measure) {
  if (measure == 1 || measure == 4) {
    return {"Absolute-first.txt", "Ab-first-Islands.txt", "Absolute-refinement.txt",
            "Ab-refinement-Islands.txt"};
  }
  if (measure == 2 || measure == 5) {
    return {"Euclidean-first.txt", "Eu-first-Islands.txt", "Euclidean-refinement.txt",
            "Eu-refinement-Islands.txt"};
  }
  return {"KL-first.txt", "KL-first-Islands.txt", "KL-refinement.txt", "KL-refinement-Islands.txt"};
}

std::string formatDefault(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

std::string formatCentre(double centre) {
  std::string text = formatDefault(centre);
  if (!std::isfinite(centre) || std::strtod(text.c_str(), nullptr) == centre) return text;
  char buf[64];
  if (centre == std::trunc(centre)) {
    std::snprintf(buf, sizeof buf, "%.0f", centre);
  } else if (centre * 2.0 == std::trunc(centre * 2.0)) {
    std::snprintf(buf, sizeof buf, "%.1f", centre);
  } else {
    std::snprintf(buf, sizeof buf, "%.17g", centre);
  }
  return buf;
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

bool readWindowScoreRow(std::istream& in, WindowScoreRow& row) {
  long long size = 0;
  double centre = 0.0;
  double p = 0.0;
  if (!(in >> size >> centre >> p)) return false;
  row = WindowScoreRow{size, centre, p};
  return true;
}

RowRead nextWindowScoreRow(std::istream& in, WindowScoreRow& row) {
  if ((in >> std::ws).eof()) return RowRead::kEnd;
  if (!readWindowScoreRow(in, row)) return RowRead::kBad;
  const bool sound = row.windowSize >= 1 && row.windowCentre >= 0.0 && row.windowCentre < 9.0e18 &&
                     row.pValue >= 0.0 && row.pValue <= 1.0;
  return sound ? RowRead::kRow : RowRead::kBad;
}

void reportBadRow(const std::string& fileName, std::int64_t rowNumber) {
  std::cerr << "Window-score file " << fileName << ": row " << rowNumber
            << " is not a valid row of three numbers; it and the rows after it are ignored"
            << std::endl;
}

bool forEachWindowScoreRow(const std::string& fileName, bool reportBad,
                           const std::function<bool(const WindowScoreRow&)>& take) {
  std::ifstream in(fileName);
  if (!in) {
    reportUnableToOpen();
    return false;
  }
  WindowScoreRow row;
  for (std::int64_t rowNumber = 1;; ++rowNumber) {
    const RowRead read = nextWindowScoreRow(in, row);
    if (read == RowRead::kBad && reportBad) reportBadRow(fileName, rowNumber);
    if (read != RowRead::kRow || !take(row)) return true;
  }
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

void reportUnableToOpen() {
  std::cerr << "Unable to open " << 0 << std::endl;
}

}  // namespace morvale
