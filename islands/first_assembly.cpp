#include "islands/first_assembly.h"

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <numeric>

#include "islands/chain.h"
#include "islands/result_files.h"

namespace morvale {

namespace {

// Hands the rows read under the stop rule that are at or below the cut-off to `take`.
template <typename Take>
void forSelectedRows(const std::vector<WindowScoreRow>& rows, double cutoff, Take take) {
  const std::size_t read = firstPhaseRowCount(rows);
  for (std::size_t i = 0; i < read; ++i)
    if (rows[i].pValue <= cutoff) take(rows[i]);
}

template <typename T>
void permute(std::vector<T>& values, const std::vector<std::size_t>& order) {
  std::vector<T> sorted(values.size());
  for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = values[order[i]];
  values.swap(sorted);
}

}  // namespace

std::size_t firstPhaseRowCount(const std::vector<WindowScoreRow>& rows) {
  std::int64_t previousCentre = 0;
  double previousP = 0.0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const WindowScoreRow& row = rows[i];
    if (row.windowCentre == static_cast<double>(previousCentre) && row.pValue == previousP)
      return i;
    previousCentre = centreInteger(row.windowCentre);
    previousP = row.pValue;
  }
  return rows.size();
}

int cIslandI::checkfile() {
  windowCount = 0;
  scoreFileRead = readWindowScoreRows(scoreFileName, true, rows, *errors);
  if (!scoreFileRead) reportUnableToOpen(*errors);
  forSelectedRows(rows, cutoff, [this](const WindowScoreRow&) { ++windowCount; });
  return static_cast<int>(windowCount);
}

void cIslandI::readfile() {
  std::size_t next = 0;
  if (!scoreFileRead) reportUnableToOpen(*errors);
  forSelectedRows(rows, cutoff, [&](const WindowScoreRow& row) {
    windowSizes[next] = row.windowSize;
    windowCentres[next] = centreInteger(row.windowCentre);
    pValues[next] = row.pValue;
    ++next;
  });
}

void cIslandI::Sort_on_position() {
  const std::size_t n = static_cast<std::size_t>(windowCount);
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return spanStart(windowSizes[a], windowCentres[a]) <
           spanStart(windowSizes[b], windowCentres[b]);
  });
  permute(windowSizes, order);
  permute(windowCentres, order);
  permute(pValues, order);
}

bool cIslandI::Calculate_Island() {
  writeError = chainIslands(windowSizes, windowCentres, windowCount, overlapCount, islandsFileName,
                            *messages);
  return writeError.empty();
}

std::string cordsortI(int overlapCount, double cutoff, const std::string& scoreFileName,
                      const std::string& islandsFileName, std::ostream& messages,
                      std::ostream& errors) {
  cIslandI island;
  island.messages = &messages;
  island.errors = &errors;
  island.overlapCount = overlapCount;
  island.cutoff = cutoff;
  island.scoreFileName = scoreFileName;
  island.islandsFileName = islandsFileName;
  island.checkfile();
  const std::size_t n = static_cast<std::size_t>(island.windowCount);
  island.windowSizes.resize(n);
  island.windowCentres.resize(n);
  island.pValues.resize(n);
  island.readfile();
  island.Sort_on_position();
  island.Calculate_Island();
  return island.writeError;
}

}  // namespace morvale
