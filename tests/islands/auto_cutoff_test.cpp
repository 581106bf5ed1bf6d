// The rank rule for the first-phase cut-off, on hand-made rows.
#include "islands/auto_cutoff.h"

#include <gtest/gtest.h>

#include <sstream>

#include "test_support.h"

namespace morvale {
namespace {

TEST(RankCutoff, KeepsTheFractionOfWindowsTestedWithTheSmallestP) {
  // p-values | windows tested | fraction | rank | cut-off; rank 0: none found.
  for (const char* row :
       {"0.05 1e-9 0.001 1e-5 0.08 1e-7|200|0.02|4|0.001",  // k = ceil(0.02 * 200) = 4
        "1e-6 1e-6 1e-6 0.01|100|0.02|2|1e-6",              // the k-th value stands for its ties
        "0.01 0.02 0.03|1000|0.5|3|0.03",                   // k beyond the rows: the largest p
        "1 2 3 4 5 6 7 8 9|100|0.07|7|7",     // 0.07 * 100 is 7.000000000000001: still 7
        "10 9 8 7 6 5 4 3 2 1|160|0.02|4|4",  // 3.2 rows rounded up to 4
        "0.3 0.2 0.1|10|0.01|1|0.1",          // a fraction of a row is one row
        "|500|0.02|0|0"}) {                   // no rows: no cut-off, so no islands
    const std::vector<std::string> c = testing::split(row, '|');
    std::vector<double> p;
    std::istringstream in(c[0]);
    for (double value; in >> value;) p.push_back(value);
    const RankCutoff rule = rankCutoff(p, std::stoll(c[1]), std::stod(c[2]));
    EXPECT_EQ(rule.found, c[3] != "0") << row;
    EXPECT_EQ(rule.rank, std::stoll(c[3])) << row;
    EXPECT_EQ(rule.found ? rule.cutoff : 0.0, std::stod(c[4])) << row;
  }
  EXPECT_EQ(rankCutoffWords(rankCutoff({0.1}, 32000, 0.02)),
            "the 2 % most significant of 32000 windows");
}

using RankCutoffFile = testing::ScratchDir;

TEST_F(RankCutoffFile, ReadsTheRowsAsTheAssemblyDoes) {
  std::vector<double> p;
  EXPECT_TRUE(firstPhasePValues("missing.txt", p) && p.empty());  // a scan that selected nothing
  // One window size; the repeated row ends the reading as it ends the assembly's.
  testing::writeFile("s.txt",
                     "5000\t2500\t0.01\n5000\t3500\t1e-5\n5000\t3500\t1e-5\n5000\t4500\t0\n");
  ASSERT_TRUE(firstPhasePValues("s.txt", p));
  EXPECT_EQ(p, (std::vector<double>{0.01, 1e-5}));
}

}  // namespace
}  // namespace morvale
