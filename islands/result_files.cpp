#include "islands/result_files.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// A whole token that is a decimal integer in the 64-bit range.
bool parseInteger(const char* from, const char* to, std::int64_t& value) {
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(from, &end, 10);
  if (end != to || errno != 0 || (*from != '-' && *from != '+' && (*from < '0' || *from > '9')))
    return false;
  value = v;
  return true;
}

// A whole token that is a finite decimal real (digits, sign, point, exponent).
bool parseReal(const char* from, const char* to, double& value) {
  for (const char* c = from; c < to; ++c) {
    if (!((*c >= '0' && *c <= '9') || *c == '.' || *c == '-' || *c == '+' || *c == 'e' ||
          *c == 'E'))
      return false;
  }
  char* end = nullptr;
  value = std::strtod(from, &end);
  return end == to && std::isfinite(value);
}

}  // namespace

bool WindowScoreReader::load(const std::string& fileName, WindowScoreReader& reader) {
  std::FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return false;
  std::string text;
  char buf[1 << 16];
  std::size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, got);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  reader = WindowScoreReader(std::move(text));
  return ok;
}

bool WindowScoreReader::token(std::size_t& from, std::size_t& to) {
  while (at_ < text_.size() && isBlank(text_[at_])) ++at_;
  from = at_;
  while (at_ < text_.size() && !isBlank(text_[at_])) ++at_;
  to = at_;
  return to > from;
}

RowRead WindowScoreReader::next(WindowScoreRow& row) {
  std::size_t from[3];
  std::size_t to[3];
  if (!token(from[0], to[0])) return RowRead::kEnd;
  if (!token(from[1], to[1]) || !token(from[2], to[2])) return RowRead::kBad;
  const char* t = text_.c_str();
  if (!parseInteger(t + from[0], t + to[0], row.windowSize) ||
      !parseReal(t + from[1], t + to[1], row.windowCentre) ||
      !parseReal(t + from[2], t + to[2], row.pValue))
    return RowRead::kBad;
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
  WindowScoreReader reader("");
  if (!WindowScoreReader::load(fileName, reader)) {
    reportUnableToOpen();
    return false;
  }
  WindowScoreRow row;
  for (std::int64_t rowNumber = 1;; ++rowNumber) {
    const RowRead read = reader.next(row);
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
