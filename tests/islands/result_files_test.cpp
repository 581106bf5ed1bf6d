#include "islands/result_files.h"

#include <gtest/gtest.h>

#include <sstream>

#include "test_support.h"

namespace morvale {
namespace {

TEST(ResultFiles, CentresReadBackExactlyAndKeepTheShortFormWhereItIsExact) {
  struct Case {
    double centre;
    const char* text;
  } cases[] = {{2500, "2500"},
               {2500.5, "2500.5"},
               {999999, "999999"},
               {1000000, "1e+06"},
               {1234567, "1234567"},
               {100000.5, "100000.5"},
               {99999.5, "99999.5"},
               {5000000, "5e+06"},
               {5000001, "5000001"},
               {1234567.5, "1234567.5"},
               {0, "0"}};
  for (const Case& c : cases) {
    EXPECT_EQ(formatCentre(c.centre), c.text);
    WindowScoreReader in(formatWindowScoreRow({5001, c.centre, 0.0000123}));
    WindowScoreRow row;
    ASSERT_EQ(in.next(row), RowRead::kRow);
    EXPECT_EQ(row.windowCentre, c.centre);
    EXPECT_EQ(row.pValue, 1.23e-05);
  }
  EXPECT_EQ(formatWindowScoreRow({5000, 2500, 0.0000123}), "5000\t2500\t1.23e-05\n");
  EXPECT_EQ(formatDefault(0.1), "0.1");
  EXPECT_EQ(spanStart(5001, centreInteger(2500.5)), 0);
  EXPECT_EQ(spanEnd(5001, centreInteger(2500.5)), 5000);
}

TEST(ResultFiles, RowsAreReadWhateverTheWhiteSpace) {
  WindowScoreReader in("5000 2500\n0.01\r\n\n  6000\t\t3000 2e-05 7000 12");
  WindowScoreRow row;
  ASSERT_EQ(in.next(row), RowRead::kRow);
  EXPECT_EQ(row.windowSize, 5000);
  ASSERT_EQ(in.next(row), RowRead::kRow);
  EXPECT_EQ(row.pValue, 2e-05);
  EXPECT_EQ(in.next(row), RowRead::kBad);  // a truncated last row
  for (const char* bad : {"5000 2500 0x1p-3", "5000.5 2500 0.01", "5000 2500 nan", "1 2 3e999"}) {
    WindowScoreReader one(bad);
    EXPECT_EQ(one.next(row), RowRead::kBad) << bad;
  }
  WindowScoreReader blank(" \n\t\n");
  EXPECT_EQ(blank.next(row), RowRead::kEnd);
}

using RowAppending = testing::ScratchDir;

TEST_F(RowAppending, AppendsOneRowAtATimeAndReportsAFileItCannotOpen) {
  ASSERT_TRUE(appendWindowScoreRow("s.txt", {5000, 2500, 0.05}));
  ASSERT_TRUE(appendWindowScoreRow("s.txt", {5000, 3500, 0.01}));
  EXPECT_EQ(testing::readFile("s.txt"), "5000\t2500\t0.05\n5000\t3500\t0.01\n");
  EXPECT_FALSE(appendWindowScoreRow("no-such-dir/s.txt", {1, 1, 0.1}));
  if (testing::fileExists("/dev/full")) {
    EXPECT_FALSE(appendWindowScoreRow("/dev/full", {1, 1, 0.1}));
  }
}

}  // namespace
}  // namespace morvale
