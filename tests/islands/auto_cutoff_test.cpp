// The rank rule for the first-phase cut-off, on hand-made rows.
#include "islands/auto_cutoff.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace morvale {
namespace {

TEST(RankCutoff, KeepsTheFractionOfWindowsTestedWithTheSmallestP) {
  struct Case {
    std::vector<double> p;
    std::int64_t tested;
    double fraction;
    bool found;
    std::int64_t rank;
    double cutoff;
  } cases[] = {
      // k = ceil(0.02 * 200) = 4: the 4th smallest p.
      {{0.05, 1e-9, 0.001, 1e-5, 0.08, 1e-7}, 200, 0.02, true, 4, 0.001},
      // Ties: the k-th value stands for every row equal to it.
      {{1e-6, 1e-6, 1e-6, 0.01}, 100, 0.02, true, 2, 1e-6},
      // k beyond the row count takes the largest p of the file.
      {{0.01, 0.02, 0.03}, 1000, 0.5, true, 3, 0.03},
      // 0.07 * 100 is 7.000000000000001 in doubles: still the 7th row.
      {{1, 2, 3, 4, 5, 6, 7, 8, 9}, 100, 0.07, true, 7, 7},
      // 0.02 * 160 = 3.2 rows: rounded up to 4.
      {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 160, 0.02, true, 4, 4},
      // ceil of a fraction of a row is one row.
      {{0.3, 0.2, 0.1}, 10, 0.01, true, 1, 0.1},
      // No rows: no cut-off, so no islands.
      {{}, 500, 0.02, false, 0, 0},
  };
  for (const Case& c : cases) {
    const RankCutoff rule = rankCutoff(c.p, c.tested, c.fraction);
    EXPECT_EQ(rule.found, c.found);
    EXPECT_EQ(rule.rank, c.rank) << c.tested << " " << c.fraction;
    if (c.found) {
      EXPECT_EQ(rule.cutoff, c.cutoff) << c.tested << " " << c.fraction;
    }
  }
  EXPECT_EQ(rankCutoffWords(rankCutoff({0.1}, 32000, 0.02)),
            "the 2 % most significant of 32000 windows");
}

using RankCutoffFile = testing::ScratchDir;

TEST_F(RankCutoffFile, ReadsTheRowsAsTheAssemblyDoes) {
  std::vector<double> p;
  EXPECT_TRUE(firstPhasePValues("missing.txt", p));  // a scan that selected nothing
  EXPECT_TRUE(p.empty());
  // One window size; the repeated row ends the reading as it ends the assembly's.
  testing::writeFile("s.txt",
                     "5000\t2500\t0.01\n5000\t3500\t1e-5\n5000\t3500\t1e-5\n5000\t4500\t0\n");
  ASSERT_TRUE(firstPhasePValues("s.txt", p));
  EXPECT_EQ(p, (std::vector<double>{0.01, 1e-5}));
}

}  // namespace
}  // namespace morvale
