// Island assembly of both phases: selection, ordering, chaining, the minimum number
// of windows, majority voting, and the files either can miss.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "islands/island_one.h"
#include "islands/island_two.h"
#include "islands/result_files.h"
#include "test_support.h"

namespace morvale {
namespace {

class Assembly : public testing::ScratchDir {
 protected:
  // Writes "size start p" triples as rows centred on start + size / 2 (first phase)
  // or start + 0.5 size.
  static void scores(const std::string& triples, bool half = false) {
    std::istringstream in(triples);
    std::string text;
    std::int64_t size, start;
    for (double p; in >> size >> start >> p;)
      text += formatWindowScoreRow(
          {size, half ? start + 0.5 * size : static_cast<double>(start + size / 2), p});
    testing::writeFile("scores.txt", text);
  }
  std::string assemble(std::string (*phase)(int, double), int count, double cutoff) {
    testing::CapturedOutput captured;
    EXPECT_EQ(phase(count, cutoff), "");
    stdout_ = captured.out();
    return testing::readFile("islands.txt");
  }
  static std::string first(int overlap, double cutoff) {
    return cordsortI(overlap, cutoff, "scores.txt", "islands.txt");
  }
  static std::string refine(int votes, double cutoff) {
    return cordsortII(cutoff, "scores.txt", "islands.txt", votes);
  }
  std::string stdout_;
};

TEST_F(Assembly, FirstPhaseSelectsChainsAndCounts) {
  struct Case {
    const char* rows;
    int overlap;
    double cutoff;
    const char* islands;
  } cases[] = {
      // A p-value equal to the cut-off is selected; a start of 0 is written as 1.
      {"5000 0 .05  5000 20000 .01", 1, 0.05, "1\t5000\n20000\t25000\n"},
      {"5000 0 .05  5000 20000 .01", 1, 0.0499, "20000\t25000\n"},
      {"5000 0 .05", 1, -1, ""},
      // Windows that touch chain (in whatever order the file has them); a gap of one does not.
      {"5000 5000 .01  5000 0 .01", 2, 0.05, "1\t10000\n"},
      {"5000 0 .01  5000 5001 .01", 2, 0.05, ""},
      {"5000 0 .01  5000 5001 .01", 1, 0.05, "1\t5000\n5001\t10001\n"},
      {"4000 100 .01  6000 3000 .01", 2, 0.05, "100\t9000\n"},
      // Runs of 4, 2 and 1 windows with a minimum of 3; three runs of 2 with a minimum of 2.
      {"1000 0 .01  1000 100 .01  1000 200 .01  1000 300 .01  1000 10000 .01  1000 10100 .01  "
       "1000 20000 .01",
       3, 0.05, "1\t1300\n"},
      {"1000 500 .01  1000 600 .01  1000 10000 .01  1000 10100 .01  1000 20000 .01  "
       "1000 20100 .01",
       2, 0.05, "500\t1600\n10000\t11100\n20000\t21100\n"},
      // A row repeating the previous centre and p-value ends the reading...
      {"1000 0 .01  1000 5000 .02  1000 5000 .02  1000 9000 .01", 1, 0.05, "1\t1000\n5000\t6000\n"},
      // ... but the same centre with another p-value does not.
      {"1000 5000 .01  3000 4000 .02  1000 9000 .01", 1, 0.05, "4000\t7000\n9000\t10000\n"},
  };
  for (const Case& c : cases) {
    scores(c.rows);
    EXPECT_EQ(assemble(first, c.overlap, c.cutoff), c.islands) << c.rows;
    EXPECT_EQ(stdout_, *c.islands ? "" : "No islands found with these parameters.\n");
  }
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
}

TEST_F(Assembly, MajorityVotingKeepsPositionsSelectedOftenEnough) {
  struct Case {
    const char* rows;
    int votes;
    const char* islands;
    const char* printed;
  } cases[] = {
      // Only the second and later rows of a group face the cut-off 0.05.
      {"3001 0 .08  3001 0 .01  3001 0 .02", 3, "1\t3000\n", "2\n3\n"},
      {"3001 0 .01  3001 0 .08  3001 0 .02", 3, "", "2\n"},
      {"3001 0 .01  3001 0 .08  3001 0 .02", 2, "1\t3000\n", "2\n"},
      // Kept twice, merged with itself.
      {"3001 0 .01  3001 0 .08  3001 0 .02", 1, "1\t3000\n", "2\n"},
      // Neighbouring positions never share a group; kept windows that touch end to end
      // join, a gap of one letter keeps them apart.
      {"3000 100000 .01  3000 100000 .01  3000 103000 .01  3000 103000 .01", 2, "100000\t106000\n",
       "2\n2\n"},
      {"3000 100000 .01  3000 100000 .01  3000 103001 .01  3000 103001 .01", 2,
       "100000\t103000\n103001\t106001\n", "2\n2\n"},
      // Kept windows out of order: a later run that starts before the pending island's
      // end gives it its end; the last run is written after it without comparison.
      {"3000 10000 .01  3000 0 .01  3000 20000 .01", 1, "10000\t3000\n20000\t23000\n", ""},
      {"3000 5000 .01  3000 0 .01  5000 1000 .01", 1, "5000\t8000\n1\t6000\n", ""},
  };
  for (const Case& c : cases) {
    scores(c.rows, true);
    EXPECT_EQ(assemble(refine, c.votes, 0.05), c.islands) << c.rows;
    EXPECT_EQ(stdout_, std::string(c.printed) +
                           (*c.islands ? "" : "No islands found with these parameters.\n"));
  }
}

TEST_F(Assembly, MissingAndUnwritableFiles) {
  testing::writeFile("islands.txt", "stale\n");
  {
    testing::CapturedOutput captured;
    EXPECT_EQ(cordsortI(1, 0.05, "scores.txt", "islands.txt"), "");
    EXPECT_EQ(cordsortII(0.05, "scores.txt", "islands.txt", 1), "");
    EXPECT_EQ(captured.err(),
              "Unable to open 0\nUnable to open 0\nUnable to open 0\nUnable to open 0\n");
  }
  EXPECT_EQ(testing::readFile("islands.txt"), "");
  scores("1000 0 .01");
  testing::CapturedOutput captured;
  EXPECT_EQ(cordsortI(1, 0.05, "scores.txt", "no-dir/islands.txt"),
            "Cannot write islands file no-dir/islands.txt: No such file or directory");
  EXPECT_EQ(cordsortII(0.05, "scores.txt", "no-dir/islands.txt", 1),
            "Cannot write islands file no-dir/islands.txt: No such file or directory");
}

TEST_F(Assembly, ABadRowEndsTheReadingOnceReported) {
  testing::writeFile("scores.txt", "5000\t2500\t0.01\n5000\t3500\tnan\n5000\t4500\t0.01\n");
  testing::CapturedOutput captured;
  cordsortI(1, 0.05, "scores.txt", "islands.txt");
  EXPECT_EQ(testing::readFile("islands.txt"), "1\t5000\n");
  EXPECT_EQ(captured.err(),
            "Window-score file scores.txt: row 2 is not a valid row of three numbers; it and the "
            "rows after it are ignored\n");
}

}  // namespace
}  // namespace morvale
