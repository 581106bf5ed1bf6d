// The natural cut-off (cap, split and both guards) and the islands assembled from
// 1000-letter bins, on hand-made window scores.
#include <gtest/gtest.h>

#include "genome/byte_source.h"
#include "natural/bin_islands.h"
#include "natural/natural_cutoff.h"
#include "test_support.h"

namespace morvale::natural {
namespace {

TEST(NaturalCutoff, CapsSplitsAndGuards) {
  // scores as COUNTxVALUE | islands called | cut-off | windows called | reason begins
  for (const char* row :
       {"190x0 9x0.1 1x100|1|0.1|10|",  // capped at the 199th of 200 values, 0.1
        "7x0 3x1|1|1|3|",               // 30 % called is not more than 30 %
        "6x0 4x1|0|1|4|the split calls 4 of 10 windows (40.0 %), more than 30 %",
        "9x0 1x0.005|1|0.005|1|",
        "9x0 1x0.004|0|0.004|1|the two groups' mean scores differ by 0.004, less than 0.005",
        "5x0.2|0|0|0|every window has the same capped score",
        "1x3|0|0|0|fewer than 2 windows were scored"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    std::vector<ScoredWindow> windows;
    for (const std::string& run : testing::split(c[0], ' ')) {
      const std::vector<std::string> n = testing::split(run, 'x');
      windows.insert(windows.end(), std::stoul(n[0]), ScoredWindow{0, 0, 1, std::stod(n[1])});
    }
    const NaturalCutoff rule = naturalCutoff(windows);
    EXPECT_EQ(rule.islandsCalled, c[1] == "1") << row;
    EXPECT_EQ(rule.cutoff, std::stod(c[2])) << row;
    EXPECT_EQ(rule.called, std::stoul(c[3])) << row;
    EXPECT_EQ(rule.noIslandsReason, c[4]) << row;
  }
}

TEST(BinIslands, JoinBinsAtOrAboveTheCutoffWithinEachRecord) {
  const std::string fasta =
      ">a\n" + testing::randomDna(12500, 1) + "\n>b\n" + testing::randomDna(8000, 2);
  TextByteSource in(fasta);
  const Genome g = readGenomeFrom(in);  // records [0, 12500) and [12500, 20500)
  // windows RECORD:START-END=SCORE | cut-off | shortest | islands
  for (const char* row :
       {"0:0-5000=0 0:5000-10000=1|1|5000|5000-10000",
        "0:0-5000=0 0:4000-9000=0 0:5000-10000=1|0.5|5000|5000-10000",   // bin 4 scores 0
        "0:0-5000=0 0:4000-9000=0 0:5000-10000=1|0.6|0|9000-10000",      // bins 5-8 score 0.5
        "0:7500-12500=1|1|5000|7000-12500",                              // a short last bin
        "0:7500-12500=1 1:12500-17500=1|1|5000|7000-12500 12500-17500",  // records stay apart
        "0:0-5000=1|1|5001|", "0:0-5000=1|1|5000|0-5000",                // the shortest kept
        "0:0-3000=1 0:4000-7000=1|1|0|0-3000 4000-7000",                 // bin 3 has no score
        "0:0-5000=0.99|1|0|"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    std::vector<ScoredWindow> windows;
    for (const std::string& w : testing::split(c[0], ' ')) {
      const std::size_t colon = w.find(':'), dash = w.find('-'), eq = w.find('=');
      windows.push_back({std::stoul(w.substr(0, colon)), std::stoll(w.substr(colon + 1)),
                         std::stoll(w.substr(dash + 1)), std::stod(w.substr(eq + 1))});
    }
    NaturalSettings settings;
    settings.minLength = std::stoll(c[2]);
    std::string got;
    for (const auto& island : binIslands(g, windows, std::stod(c[1]), settings))
      got += (got.empty() ? "" : " ") + std::to_string(island.first) + "-" +
             std::to_string(island.second);
    EXPECT_EQ(got, c[3]) << row;
  }
}

}  // namespace
}  // namespace morvale::natural
