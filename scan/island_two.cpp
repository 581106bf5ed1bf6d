#include "scan/island_two.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

#include "app/platform.h"
#include "islands/result_files.h"

namespace morvale {

namespace {

// A refinement scan: one fixed window size, each position scored several times.
struct Refinement : ScanState {
  int w = 0;
  int scanCount = 0;
};

std::string pairText(const std::vector<std::int64_t>& v, std::size_t q) {
  return "(" + std::to_string(v[2 * q]) + ", " + std::to_string(v[2 * q + 1]) + ")";
}

// Scores the windows of one island. False when a row could not be written.
bool scanIsland(Refinement& run, std::int64_t start, std::int64_t end) {
  for (std::int64_t windowStart = start; windowStart < end - run.w; windowStart += run.windowStep) {
    const double centre = static_cast<double>(windowStart) + run.w * 0.5;
    const std::int64_t shownCentre = static_cast<std::int64_t>(centre);
    // Every repetition profiles the same letters; build the profile once.
    if (run.scanCount > 0) {
      profileWindow(run.tree, run.genome.letters, windowStart, run.w, run.measure, run.window);
    }
    for (int rep = 0; rep < run.scanCount; ++rep) {
      platform().clearScreen(std::cout);
      std::cout << "A window of " << run.w << " is running at position " << shownCentre
                << std::endl;
      const ScoreOutcome outcome =
          distanceII(run.k, run.w, run.drawCount, run.ws, centre, windowStart, run.genome.length,
                     run.measure, run.window, run.pool, run.poolSize);
      if (!handleScore(outcome, shownCentre, run.scoreFile)) return false;
    }
  }
  return true;
}

}  // namespace

IslandList readIslandList(const std::string& fileName) {
  IslandList list;
  std::size_t count = 0;
  std::string bad;
  // Counting pass: whole tokens, each a decimal integer in the 32-bit range.
  const auto integerToken = [](const std::string& token, long long& value) {
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(token.c_str(), &end, 10);
    return !token.empty() && *end == '\0' && errno == 0 && value >= INT32_MIN && value <= INT32_MAX;
  };
  {
    std::ifstream in(fileName);
    if (!in) {
      const int reason = errno;
      reportUnableToOpen();
      reportUnableToOpen();
      list.problem = "Cannot open the islands file " + fileName + ": " + std::strerror(reason);
      return list;
    }
    long long value;
    for (std::string token; in >> token; ++count) {
      if (!integerToken(token, value)) {
        bad = token;
        break;
      }
    }
  }
  std::ifstream in(fileName);
  if (!in) {
    reportUnableToOpen();
    return list;
  }
  long long value;
  for (std::string token; list.values.size() < count && in >> token && integerToken(token, value);)
    list.values.push_back(value);
  if (!bad.empty()) {
    list.problem = "The islands file " + fileName + " holds \"" + bad.substr(0, 40) +
                   "\" where a whole number from -2147483648 to 2147483647 was expected";
  }
  return list;
}

std::string islandListProblem(std::vector<std::int64_t>& v, std::int64_t genomeLength) {
  if (v.size() % 2 != 0) {
    return "The islands file holds an odd number of values: the last start " +
           std::to_string(v.back()) + " has no end";
  }
  if (!v.empty() && v.back() >= genomeLength) v.back() = genomeLength;
  const std::size_t q = v.size() / 2;
  for (std::size_t i = 0; i < q; ++i) {
    const std::int64_t start = v[2 * i];
    const std::int64_t end = v[2 * i + 1];
    const char* why = nullptr;
    if (start < 0) {
      why = "starts before the genome";
    } else if (start >= genomeLength) {
      why = "starts beyond the genome";
    } else if (start >= end) {
      why = "does not start below its end";
    } else if (i > 0 && start < v[2 * i - 1]) {
      why = "overlaps or precedes the island before it";
    }
    if (why) return "Island " + pairText(v, i) + " in the islands file " + why;
  }
  return "";
}

std::string backgroundSequence(const std::string& genome, const std::vector<std::int64_t>& v) {
  std::string background;
  std::int64_t from = 0;
  for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
    background.append(genome, static_cast<std::size_t>(from),
                      static_cast<std::size_t>(v[i] - from));
    from = v[i + 1];
  }
  background.append(genome, static_cast<std::size_t>(from), std::string::npos);
  return background;
}

// The island list with its checks; "" when it can be scanned.
std::string checkedIslands(const std::string& fileName, const Genome& genome, int windowSize,
                           std::vector<std::int64_t>& islands) {
  IslandList list = readIslandList(fileName);
  std::string problem = list.problem;
  if (problem.empty()) problem = islandListProblem(list.values, genome.length);
  islands = std::move(list.values);
  if (!problem.empty()) return problem;
  std::int64_t inIslands = 0;
  for (std::size_t i = 0; i + 1 < islands.size(); i += 2) inIslands += islands[i + 1] - islands[i];
  const std::int64_t background = genome.length - inIslands;
  if (background - windowSize - 1 < 1) {
    return "The genome outside the islands has " + std::to_string(background) +
           " letters, too few for random samples of " + std::to_string(windowSize) + " letters";
  }
  return "";
}

ScanResult IslandII(int tupleSize, int windowSize, int drawCount, int windowStep,
                    const std::string& genomeFileName, const std::string& islandsFileName,
                    int measure, int poolSize, int scanCount) {
  Refinement run;
  run.setParameters(tupleSize, drawCount, windowStep, measure, poolSize,
                    resultFileNames(measure).refinementScores);
  run.w = windowSize;
  run.scanCount = scanCount;
  // The genome is checked before the last run's window-score file is removed, so a
  // run that cannot start leaves the earlier results as they were. A refused island
  // list scores nothing, so the assembly that follows finds no rows.
  if (!loadGenome(genomeFileName, -1, run.genome)) return ScanResult::kFailed;
  removeStaleFile(run.scoreFile);
  std::vector<std::int64_t> islands;
  const std::string problem = checkedIslands(islandsFileName, run.genome, windowSize, islands);
  if (!problem.empty()) {
    std::cout << problem << "; nothing is scored" << std::endl;
    return ScanResult::kCompleted;
  }
  buildtree(run.tree, tupleSize);
  const std::string background = backgroundSequence(run.genome.letters, islands);
  // One pool for the whole call, seeded once; offsets lie in [0, B - W - 2].
  const std::int64_t b = static_cast<std::int64_t>(background.size());
  std::srand(static_cast<unsigned>(platform().now()));
  if (!drawPool(run, background, windowSize, b - windowSize - 1, run.genome.length - windowSize))
    return ScanResult::kFailed;
  for (std::size_t i = 0; i + 1 < islands.size(); i += 2) {
    if (!scanIsland(run, islands[i], islands[i + 1])) return ScanResult::kFailed;
  }
  return ScanResult::kCompleted;
}

}  // namespace morvale
