#include <gtest/gtest.h>

#include <random>

#include "islands/island_one.h"
#include "islands/island_two.h"
#include "islands/result_files.h"
#include "test_support.h"

namespace morvale {
namespace {

struct Window {
  std::int64_t size;
  std::int64_t start;
  double p;
};

class Assembly : public testing::ScratchDir {
 protected:
  // Writes rows with centre start + size / 2 (first phase) or start + 0.5 size.
  static void scores(const std::vector<Window>& rows, bool half = false) {
    std::string text;
    for (const Window& w : rows) {
      const double centre =
          half ? w.start + 0.5 * w.size : static_cast<double>(w.start + w.size / 2);
      text += formatWindowScoreRow({w.size, centre, w.p});
    }
    testing::writeFile("scores.txt", text);
  }
  std::string firstPhase(int overlap, double cutoff) {
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(cordsortI(overlap, cutoff, "scores.txt", "islands.txt"));
    stdout_ = ::testing::internal::GetCapturedStdout();
    return testing::readFile("islands.txt");
  }
  std::string refinement(double cutoff, int votes) {
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(cordsortII(cutoff, "scores.txt", "islands.txt", votes));
    stdout_ = ::testing::internal::GetCapturedStdout();
    return testing::readFile("islands.txt");
  }
  std::string stdout_;
};

TEST_F(Assembly, CutOffSelectsRowsAtOrBelowIt) {
  scores({{5000, 0, 0.05}, {5000, 20000, 0.01}});
  EXPECT_EQ(firstPhase(1, 0.05), "1\t5000\n20000\t25000\n");
  EXPECT_EQ(firstPhase(1, 0.0499), "20000\t25000\n");
  EXPECT_EQ(firstPhase(1, -1), "");
  EXPECT_EQ(stdout_, "No islands found with these parameters.\n");
}

TEST_F(Assembly, TouchingWindowsChainAndSeparatedOnesDoNot) {
  scores({{5000, 5000, 0.01}, {5000, 0, 0.01}});
  EXPECT_EQ(firstPhase(2, 0.05), "1\t10000\n");
  scores({{5000, 0, 0.01}, {5000, 5001, 0.01}});
  EXPECT_EQ(firstPhase(2, 0.05), "");
  EXPECT_EQ(firstPhase(1, 0.05), "1\t5000\n5001\t10001\n");
  scores({{4000, 100, 0.01}, {6000, 3000, 0.01}});  // sizes mix within an island
  EXPECT_EQ(firstPhase(2, 0.05), "100\t9000\n");
}

TEST_F(Assembly, RunsNeedTheMinimumNumberOfWindows) {
  std::vector<Window> rows;
  for (int s : {0, 100, 200, 300, 10000, 10100, 20000}) rows.push_back({1000, s, 0.01});
  scores(rows);
  EXPECT_EQ(firstPhase(3, 0.05), "1\t1300\n");
  rows.clear();
  for (int s : {500, 600, 10000, 10100, 20000, 20100}) rows.push_back({1000, s, 0.01});
  scores(rows);
  EXPECT_EQ(firstPhase(2, 0.05), "500\t1600\n10000\t11100\n20000\t21100\n");
}

TEST_F(Assembly, ARepeatedRowEndsTheFirstPhaseReading) {
  scores({{1000, 0, 0.01}, {1000, 5000, 0.02}, {1000, 5000, 0.02}, {1000, 9000, 0.01}});
  EXPECT_EQ(firstPhase(1, 0.05), "1\t1000\n5000\t6000\n");
}

TEST_F(Assembly, MissingScoreFileGivesAnEmptyIslandsFile) {
  testing::writeFile("islands.txt", "stale\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(firstPhase(1, 0.05), "");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Unable to open 0\nUnable to open 0\n");
  EXPECT_EQ(stdout_, "No islands found with these parameters.\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(refinement(0.05, 1), "");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Unable to open 0\nUnable to open 0\n");
}

TEST_F(Assembly, SortingKeepsFileOrderForEqualStartsLikeABubbleSort) {
  std::mt19937 gen(3);
  cIslandI island;
  for (int i = 0; i < 300; ++i) {
    island.windowSizes.push_back(1000 + 500 * (gen() % 3));
    island.windowCentres.push_back(static_cast<std::int64_t>(gen() % 40) * 250 +
                                   island.windowSizes.back() / 2);
    island.pValues.push_back(i);
  }
  island.windowCount = 300;
  cIslandI bubble = island;
  const auto start = [&](std::size_t k) {
    return bubble.windowCentres[k] - bubble.windowSizes[k] / 2;
  };
  for (int pass = 0; pass < 300; ++pass) {
    for (std::size_t k = 0; k + 1 < 300; ++k) {
      if (start(k) > start(k + 1)) {
        std::swap(bubble.windowSizes[k], bubble.windowSizes[k + 1]);
        std::swap(bubble.windowCentres[k], bubble.windowCentres[k + 1]);
        std::swap(bubble.pValues[k], bubble.pValues[k + 1]);
      }
    }
  }
  island.Sort_on_position();
  EXPECT_EQ(island.pValues, bubble.pValues);
  EXPECT_EQ(island.windowCentres, bubble.windowCentres);
}

TEST_F(Assembly, VoteGroupsCountConsecutiveSelectionsOfOnePosition) {
  scores({{3001, 0, 0.08}, {3001, 0, 0.01}, {3001, 0, 0.02}}, true);
  EXPECT_EQ(refinement(0.05, 3), "1\t3000\n");
  EXPECT_EQ(stdout_, "2\n3\n");
  scores({{3001, 0, 0.01}, {3001, 0, 0.08}, {3001, 0, 0.02}}, true);
  EXPECT_EQ(refinement(0.05, 3), "");
  EXPECT_EQ(refinement(0.05, 2), "1\t3000\n");
  EXPECT_EQ(refinement(0.05, 1), "1\t3000\n");  // kept twice, merged with itself

  // Neighbouring positions never share a group; their kept windows chain.
  scores({{3000, 100000, 0.01},
          {3000, 100000, 0.01},
          {3000, 100500, 0.01},
          {3000, 100500, 0.01},
          {3000, 200000, 0.09},
          {3000, 200000, 0.01}},
         true);
  EXPECT_EQ(refinement(0.05, 2), "100000\t103500\n200000\t203000\n");
  EXPECT_EQ(stdout_, "2\n2\n2\n");
}

TEST_F(Assembly, UnwritableIslandsFileIsReported) {
  scores({{1000, 0, 0.01}});
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(cordsortI(1, 0.05, "scores.txt", "no-dir/islands.txt"));
  EXPECT_FALSE(cordsortII(0.05, "scores.txt", "no-dir/islands.txt", 1));
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Cannot write islands file no-dir/islands.txt: No such file or directory\n"
            "Cannot write islands file no-dir/islands.txt: No such file or directory\n");
}

}  // namespace
}  // namespace morvale
