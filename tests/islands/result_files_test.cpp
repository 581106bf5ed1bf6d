// The layouts of the result files, island lists as the refinement reads them, and
// run records.
#include "islands/result_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "islands/island_list.h"
#include "islands/run_record.h"
#include "test_support.h"

namespace morvale {
namespace {

TEST(ResultFiles, CentresReadBackExactlyAndKeepTheShortFormWhereItIsExact) {
  // Centre, and its text where that differs.
  for (const char* row : {"2500", "2500.5", "999999", "1000000|1e+06", "1234567", "100000.5",
                          "5000000|5e+06", "1234567.5", "0"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    const double centre = std::stod(c[0]);
    EXPECT_EQ(formatCentre(centre), c.back());
    std::int64_t bad = -1;
    const auto rows = parseWindowScoreRows(formatWindowScoreRow({5001, centre, 0.0000123}), bad);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].windowCentre, centre);
    EXPECT_EQ(rows[0].pValue, 1.23e-05);
  }
  EXPECT_EQ(formatWindowScoreRow({5000, 2500, 0.0000123}), "5000\t2500\t1.23e-05\n");
  EXPECT_EQ(spanStart(5001, centreInteger(2500.5)), 0);
  EXPECT_EQ(spanEnd(5001, centreInteger(2500.5)), 5000);
  EXPECT_EQ(resultFileNames(5, "out/g").refinementRecord, "out/g/Eu-refinement.run.txt");
}

TEST(ResultFiles, RowsAreReadWhateverTheWhiteSpaceUntilABadOne) {
  // Text | rows read | the bad row (0: none).
  for (const char* row :
       {"5000 2500\n0.01\r\n\n  6000\t\t3000 2e-05|2|0", "5000 2500 0.01 7000 12|1|2",
        "5000 2500 0x1p-3|0|1", "5000.5 2500 0.01|0|1", "1 2 3e999|0|1", "5000 -2500 0.01|0|1",
        "0 2500 0.01|0|1", "5000 2500 1.5|0|1", " \n\t\n|0|0"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    std::int64_t bad = -1;
    EXPECT_EQ(parseWindowScoreRows(c[0], bad).size(), std::stoul(c[1])) << c[0];
    EXPECT_EQ(bad, std::stoll(c[2])) << c[0];
  }
}

using IslandLists = testing::ScratchDir;

TEST_F(IslandLists, ReadFlatUntilAStrayTokenAndCheckedBeforeUse) {
  // Text | the summary's start | the problem against a genome of 3000 letters.
  for (const char* row :
       {"100 200\n300 400\n|Read 2 islands from i.txt (to its end)|",
        "100\n200 300\n400|Read 2 islands from i.txt (to its end)|",
        "1000 5000 abc 9000 12000|Read 1 island from i.txt; reading stopped at \"abc\", value 3 of "
        "the file, and the rest is ignored|",
        "100 200 3000000000 400|Read 1 island from i.txt; reading stopped at \"3000000000\"|",
        "|Read 0 islands|The islands file i.txt holds no islands",
        "x1 5|Read 0 islands|The islands file i.txt holds no islands (its first value \"x1\" "
        "is not a whole number)",
        "100 200\n300\n|Read 1 island|The islands file i.txt holds an odd number of values: the "
        "last start 300 has no end",
        "-5 200||Island 1 (-5, 200) of the islands file i.txt starts before the genome",
        "100 500\n400 900\n||Island 2 (400, 900) of the islands file i.txt overlaps or precedes "
        "the island before it",
        "500 400||Island 1 (500, 400) of the islands file i.txt does not start below its end",
        "100 200\n3000 6000\n||Island 2 (3000, 3000) of the islands file i.txt starts beyond the "
        "end of the genome (3000 letters)"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    testing::writeFile("i.txt", c[0]);
    IslandList list = readIslandList("i.txt");
    EXPECT_EQ(islandListSummary(list, "i.txt").rfind(c[1], 0), 0u) << c[0];
    EXPECT_EQ(islandListProblem(list, "i.txt", 3000), c[2]) << c[0];
  }
  // The last end is clipped to the genome's end.
  testing::writeFile("i.txt", "100 200 300 5000");
  IslandList clipped = readIslandList("i.txt");
  EXPECT_EQ(islandListProblem(clipped, "i.txt", 1000), "");
  EXPECT_EQ(clipped.values, (std::vector<std::int64_t>{100, 200, 300, 1000}));
  // A file that cannot be read is not an empty list.
  std::filesystem::create_directory("d");
  testing::CapturedOutput captured;
  for (const char* name : {"d", "missing.txt"}) {
    IslandList unread = readIslandList(name);
    EXPECT_EQ(islandListProblem(unread, name, 3000),
              std::string("Cannot open the islands file ") + name + ": " +
                  (name[0] == 'd' ? "Is a directory" : "No such file or directory"));
  }
  EXPECT_EQ(captured.err(),
            "Unable to open 0\nUnable to open 0\nUnable to open 0\nUnable to open 0\n");
}

using RunRecords = testing::ScratchDir;

TEST_F(RunRecords, WrittenWholeAndReadBack) {
  RunRecord r;
  r.set("genome_file", "my\tgenome.fa");
  r.set("seed", 1700000000LL);
  r.setReal("cutoff", 0.01);
  r.setReal("auto", 1.0 / 3.0);
  r.set("seed", 7LL);
  ASSERT_EQ(r.write("x.run.txt"), "");
  EXPECT_EQ(testing::readFile("x.run.txt"),
            "genome_file\tmy genome.fa\nseed\t7\ncutoff\t0.01\nauto\t0.3333333333333333\n");
  RunRecord back;
  ASSERT_TRUE(RunRecord::read("x.run.txt", back));
  EXPECT_EQ(back.get("cutoff"), "0.01");
  EXPECT_FALSE(back.has("missing"));
  EXPECT_EQ(r.write("no/such/x.run.txt").rfind("cannot write no/such/x.run.txt: ", 0), 0u);
}

}  // namespace
}  // namespace morvale
