#include "islands/refinement_assembly.h"

#include <cerrno>
#include <iostream>

#include "islands/chain.h"
#include "islands/result_files.h"

namespace morvale {

int cIslandII::checkfileII() {
  scoreFileRead = readWindowScoreRows(scoreFileName, true, rows, *errors);
  if (!scoreFileRead) reportUnableToOpen(*errors);
  rowCount = static_cast<std::int64_t>(rows.size());
  return static_cast<int>(rowCount);
}

void cIslandII::readfileII() {
  if (!scoreFileRead) reportUnableToOpen(*errors);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    windowSizes[i] = rows[i].windowSize;
    windowCentres[i] = centreInteger(rows[i].windowCentre);
    pValues[i] = rows[i].pValue;
  }
}

void cIslandII::Majority_Voting() {
  keptCount = 0;
  const auto keep = [this](std::size_t row) {
    keptSizes[static_cast<std::size_t>(keptCount)] = windowSizes[row];
    keptCentres[static_cast<std::size_t>(keptCount)] = windowCentres[row];
    ++keptCount;
  };
  const auto startOf = [this](std::size_t row) {
    return spanStart(windowSizes[row], windowCentres[row]);
  };
  const std::size_t n = static_cast<std::size_t>(rowCount);
  if (n > 0) {
    std::int64_t groupSize = 1;
    std::int64_t previousStart = startOf(0);
    for (std::size_t i = 1; i < n; ++i) {
      const std::int64_t s = startOf(i);
      if (s == previousStart && pValues[i] <= cutoff) {
        ++groupSize;
        *messages << groupSize << std::endl;
      } else {
        if (groupSize >= voteThreshold) keep(i - 1);
        groupSize = 1;
      }
      previousStart = s;
    }
    if (groupSize >= voteThreshold) keep(n - 1);
  }
  windowSizes.clear();
  windowSizes.shrink_to_fit();
  windowCentres.clear();
  windowCentres.shrink_to_fit();
}

bool cIslandII::Calculate_IslandII() {
  writeError =
      chainIslands(keptSizes, keptCentres, keptCount, minWindows, islandsFileName, *messages);
  return writeError.empty();
}

std::string cordsortII(double cutoff, const std::string& scoreFileName,
                       const std::string& islandsFileName, int voteThreshold,
                       std::ostream& messages, std::ostream& errors) {
  cIslandII island;
  island.messages = &messages;
  island.errors = &errors;
  island.cutoff = cutoff;
  island.voteThreshold = voteThreshold;
  island.minWindows = 1;
  island.scoreFileName = scoreFileName;
  island.islandsFileName = islandsFileName;
  island.checkfileII();
  const std::size_t n = static_cast<std::size_t>(island.rowCount);
  island.windowSizes.resize(n);
  island.windowCentres.resize(n);
  island.pValues.resize(n);
  island.readfileII();
  island.keptSizes.resize(n);
  island.keptCentres.resize(n);
  island.Majority_Voting();
  island.Calculate_IslandII();
  return island.writeError;
}

}  // namespace morvale
