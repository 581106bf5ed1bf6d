// The two scans: windows and sizes scored, where samples come from, when the generator
// is seeded, and what they tell the front end (threads: the morvale-run tests).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "kmer/rand.h"
#include "scan/first_scan.h"
#include "scan/phase_runner.h"
#include "scan/refinement_scan.h"
#include "stats/ttest.h"
#include "test_support.h"

namespace morvale {
namespace {

// Every event as a line, and every pool drawn.
class Recorder : public ScanProgress {
 public:
  std::vector<std::string> lines;
  std::vector<SamplePool> pools;
  void staleFileRemoved(const std::string& name) override { lines.push_back("removed " + name); }
  void poolDrawn(const SamplePool& pool) override { pools.push_back(pool); }
  void windowSizeStarted(std::int64_t w) override { add("size", w); }
  void firstPhaseWindow(std::int64_t w, std::int64_t c) override { add("window", w, c); }
  void refinementScoring(std::int64_t w, std::int64_t c) override { add("scoring", w, c); }
  void windowSkipped(std::int64_t c) override { add("skipped", c); }
  void noRoomForSamples(std::int64_t w, std::int64_t) override { add("no room", w); }

 private:
  template <typename... Numbers>
  void add(const char* event, Numbers... n) {
    lines.push_back((std::string(event) + ... + (" " + std::to_string(n))));
  }
};

using Scan = testing::ScratchDir;

// Settings: measure (2, Euclidean), k, first window, pool, draws, step, increment.
ScanOutcome firstPhase(const std::string& genome, FirstPhaseSettings s, Recorder& r,
                       int threads = 1, unsigned seed = 7) {
  WorkerPool workers(threads);
  return IslandI(s, genome, seed, "scores.txt", r, workers);
}

TEST_F(Scan, FirstPhaseSizesStartsAndStopRules) {
  // L = 50: sizes 10..40 (not 50 = L); size 10 starts at 0..35, not at 40 = L - W.
  Recorder r;
  const ScanOutcome out = firstPhase(testing::randomDna(50, 4), {2, 2, 10, 10, 3, 5, 10}, r);
  EXPECT_EQ(out.windowsTested, 8 + 6 + 4 + 2);
  std::vector<std::string> sizes, size10;
  for (const std::string& line : r.lines) {
    if (line.rfind("size", 0) == 0 || line.rfind("no room", 0) == 0) sizes.push_back(line);
    if (line.rfind("window 10 ", 0) == 0) size10.push_back(line);
  }
  EXPECT_EQ(sizes, (std::vector<std::string>{"size 10", "size 20", "size 30", "size 40"}));
  ASSERT_EQ(size10.size(), 8u);
  EXPECT_EQ(size10.front() + ", " + size10.back(), "window 10 5, window 10 40");

  Recorder tight;  // a genome one letter longer than the window leaves no room for samples
  firstPhase(testing::randomDna(11, 4), {2, 2, 10, 10, 3, 5, 10}, tight);
  EXPECT_EQ(tight.lines, (std::vector<std::string>{"removed scores.txt", "no room 10"}));
}

TEST_F(Scan, EveryWindowSizeDrawsItsPoolRightAfterItsOwnReseed) {
  Recorder r;
  const std::int64_t length = 60;
  firstPhase(testing::randomDna(length, 5), {2, 2, 10, 300, 3, 10, 15}, r, 1, 4242);
  ASSERT_EQ(r.pools.size(), 4u);  // sizes 10, 25, 40, 55
  for (std::size_t i = 0; i < r.pools.size(); ++i) {
    const std::int64_t w = 10 + 15 * static_cast<std::int64_t>(i);
    std::srand(4242);
    std::set<double> seen;
    for (double start : r.pools[i].starts) {
      std::int64_t expected = Rand(length - w - 1);
      while (expected < 0) expected = Rand(length - w - 1);
      ASSERT_EQ(start, static_cast<double>(expected)) << "size " << w;
      seen.insert(start);
    }
    // Starts cover [0, L - W - 2] exactly, the last position included.
    EXPECT_TRUE(w != 10 || (seen.size() == 49u && *seen.begin() == 0 && *seen.rbegin() == 48));
  }
}

// Islands of a's in a genome of c's and g's: a sample touching one would hold an a.
// Every window inside an island stands out, so each scoring writes a row, centre and half.
TEST_F(Scan, RefinementSamplesComeOnlyFromOutsideTheIslands) {
  std::string cg = testing::randomDna(1400, 3);
  for (char& c : cg) c = (c == 'a' || c == 'c') ? 'c' : 'g';
  const std::string genome = cg.substr(0, 1000) + std::string(600, 'a') + cg.substr(1000, 300) +
                             std::string(101, 'a') + cg.substr(1300);
  const std::vector<std::int64_t> islands{1000, 1600, 1900, 2001};
  const RefinementSettings s{101, 200, 5, 100, 2};  // window, pool, draws, step, scans
  Recorder r;
  WorkerPool workers(1);
  const ScanOutcome out = IslandII(s, 2, 3, genome, islands, 9, "refined.txt", r, workers);
  ASSERT_EQ(out.result, ScanResult::kCompleted);
  ASSERT_EQ(r.pools.size(), 1u);
  for (const Profile& row : r.pools[0].rows)
    for (std::uint32_t key : row.keys) EXPECT_TRUE(key % 4 != 0 && key / 4 != 0) << key;
  // Island (1000, 1600): starts 1000..1400 by 100; (1900, 2001) is not longer than W.
  std::istringstream rows(testing::readFile("refined.txt"));
  std::string written, events;
  for (std::string size, centre, p; rows >> size >> centre >> p;)
    written += size + " " + centre + ",";
  for (const std::string& line : r.lines)  // "scoring W C" as "W C.5,"
    events += line.rfind("scoring ", 0) == 0 ? line.substr(8) + ".5," : line;
  EXPECT_EQ(written,
            "101 1050.5,101 1050.5,101 1150.5,101 1150.5,101 1250.5,101 1250.5,"
            "101 1350.5,101 1350.5,101 1450.5,101 1450.5,");
  EXPECT_EQ(events, written);
  EXPECT_EQ(backgroundSequence("0123456789", {2, 4, 7, 8}), "0145689");
}

TEST_F(Scan, WhatTheScansSayAndRefuse) {
  const std::string genome = testing::randomDna(3000, 8);
  // An earlier file is removed and said so; a missing one says nothing.
  testing::writeFile("scores.txt", "old\n");
  Recorder r;
  firstPhase(genome, {2, 2, 2900, 10, 3, 50, 1000}, r);
  EXPECT_EQ(r.lines.front(), "removed scores.txt");
  Recorder again;
  std::filesystem::remove("scores.txt");
  firstPhase(genome, {2, 2, 2900, 10, 3, 50, 1000}, again);
  EXPECT_EQ(again.lines.front(), "size 2900");
  // A window whose every drawable sample starts within W of it is skipped.
  EXPECT_NE(std::find(again.lines.begin(), again.lines.end(), "skipped 1450"), again.lines.end());

  std::filesystem::create_directory("scores.txt");
  testing::writeFile("scores.txt/keep", "");
  ScanOutcome out = firstPhase(genome, {2, 2, 100, 10, 3, 50, 1000}, r);
  EXPECT_EQ(out.result, ScanResult::kFailed);
  EXPECT_EQ(out.error,
            "Cannot remove the window-score file scores.txt of an earlier run: "
            "Directory not empty");

  std::filesystem::remove_all("scores.txt");
  out = firstPhase(genome, {2, 8, 100, 300000000, 3, 50, 1000}, r);
  EXPECT_EQ(out.result, ScanResult::kFailed);
  EXPECT_NE(out.error.find("of 100 letters at k-tuple size 8 needs 329.7 GiB of memory"),
            std::string::npos);
  const RefinementSettings many{100, 100, kMaxDrawCount, 500, 2000000000};
  WorkerPool one(1);
  out = IslandII(many, 2, 3, genome, {1000, 2000}, 1, "refined.txt", r, one);
  EXPECT_EQ(out.error.rfind("Scoring each window 2000000000 times with 1000000 draws ", 0), 0u);
}

// A failing t-test (all poly-A) ends the scan after the windows before it, on any threads.
TEST_F(Scan, ANumericalFailureEndsTheScanAfterTheWindowsBeforeIt) {
  const std::string genome = testing::randomDna(1000, 3) + std::string(6000, 'A');
  std::string rows;
  std::vector<std::string> lines;
  for (int threads : {1, 3}) {
    std::filesystem::remove("scores.txt");
    Recorder r;
    const ScanOutcome out = firstPhase(genome, {2, 2, 100, 20, 3, 50, 1000}, r, threads);
    EXPECT_EQ(out.result, ScanResult::kFailed);
    EXPECT_EQ(out.numericalFailure, kBetacfFailure);
    const std::string last = r.lines.back();  // "window 100 C": the failing window's is C + 50
    const std::string centre = std::to_string(std::stol(last.substr(11)) + 50);
    EXPECT_EQ(out.error, "the t-test failed numerically at window " + centre +
                             " (size 100): a or b too big, or MAXIT too small in betacf");
    EXPECT_GT(std::stol(centre), 1000);
    if (threads == 1) rows = testing::readFile("scores.txt"), lines = r.lines;
    EXPECT_FALSE(rows.empty());
    EXPECT_EQ(testing::readFile("scores.txt"), rows);
    EXPECT_EQ(r.lines, lines);
  }
}

// A phase that fails after a whole one, a refinement or a repeated first-phase
// assembly, leaves no run record claiming the files beside it are whole.
TEST_F(Scan, AFailedRepeatLeavesNoRunRecord) {
  GenomeInput genome{"planted.fa", {}, ""};
  genome.genome.letters = testing::plantedGenome();
  genome.genome.length = static_cast<std::int64_t>(genome.genome.letters.size());
  genome.genome.records.push_back({"planted", 0, genome.genome.length, genome.genome.length, {}});
  describeGenome(genome);
  Recorder r;
  WorkerPool workers(1);
  std::ostringstream quiet;
  PhaseRunner runner(2, ".", console_, r, workers, quiet, quiet);
  const ResultFileNames& n = runner.names();
  const auto blocked = [](const std::string& path) {  // a folder no phase can remove or write
    std::filesystem::remove(path);
    std::filesystem::create_directories(path + "/x");
  };
  ASSERT_EQ(runner.firstPhase({2, 2, 2000, 50, 20, 500, 9000}, genome, 1).result,
            ScanResult::kCompleted);
  ASSERT_EQ(runner.firstAssembly({0.001, 2}), "");
  const std::vector<std::int64_t> islands = readIslandList(n.firstIslands).values;
  ASSERT_FALSE(islands.empty());
  ASSERT_EQ(
      runner.refinement({3000, 20, 10, 1000, 2, 1, 0.05}, 2, genome, n.firstIslands, islands, 1)
          .result,
      ScanResult::kCompleted);
  ASSERT_EQ(runner.refinementAssembly(0.05, 1), "");
  ASSERT_TRUE(testing::fileExists(n.firstRecord) && testing::fileExists(n.refinementRecord));
  blocked(n.refinementScores);
  EXPECT_EQ(
      runner.refinement({3000, 20, 10, 1000, 2, 1, 0.05}, 2, genome, n.firstIslands, islands, 1)
          .result,
      ScanResult::kFailed);
  EXPECT_FALSE(testing::fileExists(n.refinementRecord));
  blocked(n.firstIslands);
  EXPECT_NE(runner.firstAssembly({0.001, 2}), "");
  EXPECT_FALSE(testing::fileExists(n.firstRecord));
}

}  // namespace
}  // namespace morvale
