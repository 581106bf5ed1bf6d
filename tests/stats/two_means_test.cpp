// The exact two-means split, the nearest-rank percentile and the first phase's
// no-islands rule built on them, on small hand-made lists.
#include "stats/two_means.h"

#include <gtest/gtest.h>

#include <sstream>

#include "scan/first_phase_split.h"
#include "test_support.h"

namespace morvale {
namespace {

std::vector<double> numbers(const std::string& text) {
  std::vector<double> v;
  std::istringstream in(text);
  for (double x; in >> x;) v.push_back(x);
  return v;
}

TEST(TwoMeans, TakesTheSplitWithTheLeastSquaresWithinTheGroups) {
  // values | threshold | lower size | lower mean | upper mean; "-": no split
  for (const char* row : {"1 2 10 11|10|2|1.5|10.5", "11 1 10 2|10|2|1.5|10.5",  // any order
                          "5 1|5|1|1|5", "0 1 2 3|2|2|0.5|2.5",
                          "0 0 0 9|9|3|0|9",          // equal values share a group
                          "0 10 11 21|10|1|0|14",     // a tie with i = 3: the smaller lower group
                          "3 3 3|-", "7|-", "|-"}) {  // all equal, one value, none
    const std::vector<std::string> c = testing::split(row, '|');
    const TwoMeansSplit s = twoMeans(numbers(c[0]));
    ASSERT_EQ(s.found, c[1] != "-") << row;
    if (!s.found) continue;
    EXPECT_EQ(s.threshold, std::stod(c[1])) << row;
    EXPECT_EQ(s.lowerSize, std::stoul(c[2])) << row;
    EXPECT_EQ(s.upperSize, numbers(c[0]).size() - s.lowerSize) << row;
    EXPECT_DOUBLE_EQ(s.lowerMean, std::stod(c[3])) << row;
    EXPECT_DOUBLE_EQ(s.upperMean, std::stod(c[4])) << row;
  }
}

TEST(NearestRankPercentile, IsTheValueAtTheRoundedUpRank) {
  std::string hundred;
  for (int i = 100; i >= 1; --i) hundred += std::to_string(i) + " ";
  // values | q | value
  for (const std::string& row : {hundred + "|0.5|50", hundred + "|0.995|100", hundred + "|0.001|1",
                                 hundred + "|0.07|7",  // 0.07 * 100 is 7.000000000000001
                                 std::string("3 1 2|0.5|2"), std::string("4|0.995|4")}) {
    const std::vector<std::string> c = testing::split(row, '|');
    EXPECT_EQ(nearestRankPercentile(numbers(c[0]), std::stod(c[1])), std::stod(c[2])) << c[1];
  }
}

TEST(FirstPhaseSplit, NoIslandsOnlyWhenManyWeakWindowsRiseAboveTheRest) {
  // signals | islands called: 3 of 20 (15 %) strong, or weak; 4 of 20 weak; 4 of 20 strong; 4 of 20
  // just below 5; the same just at it; t < 0 turns -log10 p negative.
  const std::string low = "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ";
  for (const std::string& row :
       {low + "0 9 9 9|1", low + "0 3 3 3|1", low + "3 3 3 3|0", low + "9 9 9 9|1",
        low + "4.99 4.99 4.99 4.99|0", low + "5 5 5 5|1", std::string("1 1 1|1")}) {
    const std::vector<std::string> c = testing::split(row, '|');
    EXPECT_EQ(splitFirstPhaseSignals(numbers(c[0])).islandsCalled, c[1] == "1") << row;
  }
  EXPECT_EQ(windowSignal(2.0, 1e-3), 3.0);
  EXPECT_EQ(windowSignal(-2.0, 1e-3), -3.0);
  EXPECT_GT(windowSignal(1.0, 0.0), 300.0);
}

}  // namespace
}  // namespace morvale
