#include "scan/island_two.h"

#include <cstdlib>
#include <fstream>
#include <iostream>

#include "app/platform.h"
#include "islands/result_files.h"
#include "kmer/rand.h"

namespace morvale {

namespace {

struct Refinement {
  int k;
  int w;
  int drawCount;
  int windowStep;
  int measure;
  int poolSize;
  int scanCount;
  std::string scoreFile;
  Genome genome;
  KmerTree tree;
  ScoreWorkspace ws;
  SamplePool pool;
  Profile window;
};

std::string pairText(const std::vector<std::int64_t>& v, std::size_t q) {
  return "(" + std::to_string(v[2 * q]) + ", " + std::to_string(v[2 * q + 1]) + ")";
}

// Draws the pool once from the background: offsets r in [0, B - W - 2].
void drawPool(Refinement& run, const std::string& background) {
  const std::int64_t b = static_cast<std::int64_t>(background.size());
  const std::int64_t g = run.genome.length;
  run.pool.allocate(run.poolSize, run.tree.keys);
  std::srand(static_cast<unsigned>(platform().now()));
  for (int j = 0; j < run.poolSize; ++j) {
    std::int64_t r;
    do {
      r = Rand(b - run.w - 1);
    } while (static_cast<std::uint64_t>(r) >= static_cast<std::uint64_t>(g - run.w));
    profileSample(run.tree, background, r, run.w, run.measure, run.pool, j);
  }
  run.ws.pairs.reset(run.poolSize);
}

// Scores the windows of one island. False when a row could not be written.
bool scanIsland(Refinement& run, std::int64_t start, std::int64_t end) {
  for (std::int64_t ws = start; ws < end - run.w; ws += run.windowStep) {
    const double centre = static_cast<double>(ws) + run.w * 0.5;
    const std::int64_t shownCentre = static_cast<std::int64_t>(centre);
    // Every repetition profiles the same letters; build the profile once.
    if (run.scanCount > 0) {
      profileWindow(run.tree, run.genome.letters, ws, run.w, run.measure, run.window);
    }
    for (int rep = 0; rep < run.scanCount; ++rep) {
      platform().clearScreen(std::cout);
      std::cout << "A window of " << run.w << " is running at position " << shownCentre
                << std::endl;
      const ScoreOutcome outcome =
          distanceII(run.k, run.w, run.drawCount, run.ws, centre, ws, run.genome.length,
                     run.measure, run.window, run.pool, run.poolSize);
      if (!handleScore(outcome, shownCentre, run.scoreFile)) return false;
    }
  }
  return true;
}

}  // namespace

std::vector<std::int64_t> readIslandList(const std::string& fileName) {
  std::size_t attempts = 0;
  {
    std::ifstream in(fileName);
    if (!in) reportUnableToOpen();
    int value;
    do {
      ++attempts;
    } while (in && (in >> value));
  }
  std::vector<std::int64_t> values;
  std::ifstream in(fileName);
  if (!in) {
    reportUnableToOpen();
    return values;
  }
  long long value;
  // The second pass reads at most as many values as the first counted.
  for (std::size_t i = 0; i + 1 < attempts && (in >> value); ++i) values.push_back(value);
  return values;
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

ScanResult IslandII(int tupleSize, int windowSize, int drawCount, int windowStep,
                    const std::string& genomeFileName, const std::string& islandsFileName,
                    int measure, int poolSize, int scanCount) {
  Refinement run{tupleSize, windowSize, drawCount, windowStep,
                 measure,   poolSize,   scanCount, resultFileNames(measure).refinementScores,
                 {},        {},         {},        {},
                 {}};
  removeStaleFile(run.scoreFile);
  buildtree(run.tree, tupleSize);
  if (!loadGenome(genomeFileName, -1, run.genome)) return ScanResult::kFailed;

  std::vector<std::int64_t> islands = readIslandList(islandsFileName);
  const std::string problem = islandListProblem(islands, run.genome.length);
  if (!problem.empty()) {
    std::cout << problem << "; nothing is scored" << std::endl;
    return ScanResult::kCompleted;
  }
  const std::string background = backgroundSequence(run.genome.letters, islands);
  if (static_cast<std::int64_t>(background.size()) - windowSize - 1 < 1) {
    std::cout << "The genome outside the islands has " << background.size()
              << " letters, too few for random samples of " << windowSize
              << " letters; nothing is scored" << std::endl;
    return ScanResult::kCompleted;
  }
  drawPool(run, background);
  for (std::size_t i = 0; i + 1 < islands.size(); i += 2) {
    if (!scanIsland(run, islands[i], islands[i + 1])) return ScanResult::kFailed;
  }
  return ScanResult::kCompleted;
}

}  // namespace morvale
