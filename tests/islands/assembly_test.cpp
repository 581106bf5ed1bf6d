// Island assembly of both phases: selection, ordering, chaining, the minimum number
// of windows, majority voting, and the files either can miss.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "islands/first_assembly.h"
#include "islands/refinement_assembly.h"
#include "islands/result_files.h"
#include "test_support.h"

namespace morvale {
namespace {

class Assembly : public testing::ScratchDir {
 protected:
  // Writes "size start p" triples as rows centred on start + size / 2 (or + 0.5 size).
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
  // "1 5000~20000 25000" as "1\t5000\n20000\t25000\n": a space is a tab, "~" ends a line.
  static std::string lines(std::string text) {
    for (char& c : text) c = c == ' ' ? '\t' : c == '~' ? '\n' : c;
    return text.empty() ? text : text + "\n";
  }
  std::string stdout_;
};

// Rows "size start p ..." | overlap count | cut-off | islands.
TEST_F(Assembly, FirstPhaseSelectsChainsAndCounts) {
  for (const char* row :
       {// A p-value equal to the cut-off is selected; a start of 0 is written as 1.
        "5000 0 .05  5000 20000 .01|1|0.05|1 5000~20000 25000",
        "5000 0 .05  5000 20000 .01|1|0.0499|20000 25000", "5000 0 .05|1|-1|",
        // Windows that touch chain (in whatever order the file has them); a gap of one does not.
        "5000 5000 .01  5000 0 .01|2|0.05|1 10000", "5000 0 .01  5000 5001 .01|2|0.05|",
        "5000 0 .01  5000 5001 .01|1|0.05|1 5000~5001 10001",
        "4000 100 .01  6000 3000 .01|2|0.05|100 9000",
        // Runs of 4, 2 and 1 windows with a minimum of 3; three runs of 2 with a minimum of 2.
        "1000 0 .01  1000 100 .01  1000 200 .01  1000 300 .01  1000 10000 .01  1000 10100 .01  "
        "1000 20000 .01|3|0.05|1 1300",
        "1000 500 .01  1000 600 .01  1000 10000 .01  1000 10100 .01  1000 20000 .01  "
        "1000 20100 .01|2|0.05|500 1600~10000 11100~20000 21100",
        // A row repeating the previous centre and p-value ends the reading...
        "1000 0 .01  1000 5000 .02  1000 5000 .02  1000 9000 .01|1|0.05|1 1000~5000 6000",
        // ... but the same centre with another p-value does not.
        "1000 5000 .01  3000 4000 .02  1000 9000 .01|1|0.05|4000 7000~9000 10000"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    scores(c[0]);
    EXPECT_EQ(assemble(first, std::stoi(c[1]), std::stod(c[2])), lines(c[3])) << row;
    EXPECT_EQ(stdout_, c[3].empty() ? "No islands found with these parameters.\n" : "");
  }
}

TEST_F(Assembly, SortingKeepsFileOrderForEqualStartsLikeABubbleSort) {
  std::mt19937 gen(3);
  cIslandI island;
  for (int i = 0; i < 300; ++i) {
    island.windowSizes.push_back(1000 + 500 * (gen() % 3));
    island.windowCentres.push_back(std::int64_t(gen() % 40) * 250 + island.windowSizes.back() / 2);
    island.pValues.push_back(i);
  }
  island.windowCount = 300;
  std::vector<double> expected = island.pValues;  // the rows by start, stably (as bubbles go)
  const auto start = [&](double row) {
    return island.windowCentres[std::size_t(row)] - island.windowSizes[std::size_t(row)] / 2;
  };
  std::stable_sort(expected.begin(), expected.end(),
                   [&](double a, double b) { return start(a) < start(b); });
  island.Sort_on_position();
  EXPECT_EQ(island.pValues, expected);
}

// Rows | votes | islands | what is printed; the cut-off is 0.05.
TEST_F(Assembly, MajorityVotingKeepsPositionsSelectedOftenEnough) {
  for (const char* row :
       {// Only the second and later rows of a group face the cut-off; kept twice, merged once.
        "3001 0 .08  3001 0 .01  3001 0 .02|3|1 3000|2~3",
        "3001 0 .01  3001 0 .08  3001 0 .02|3||2", "3001 0 .01  3001 0 .08  3001 0 .02|2|1 3000|2",
        "3001 0 .01  3001 0 .08  3001 0 .02|1|1 3000|2",
        // Neighbouring positions never share a group; kept windows that touch join, a gap parts.
        "3000 100000 .01  3000 100000 .01  3000 103000 .01  3000 103000 .01|2|100000 106000|2~2",
        "3000 100000 .01  3000 100000 .01  3000 103001 .01  3000 103001 .01|2|100000 103000~"
        "103001 106001|2~2",
        // Out of order: a later run starting before the pending island's end gives it its end;
        // the last run is written after it without comparison.
        "3000 10000 .01  3000 0 .01  3000 20000 .01|1|10000 3000~20000 23000|",
        "3000 5000 .01  3000 0 .01  5000 1000 .01|1|5000 8000~1 6000|"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    scores(c[0], true);
    EXPECT_EQ(assemble(refine, std::stoi(c[1]), 0.05), lines(c[2])) << row;
    EXPECT_EQ(stdout_,
              lines(c[3]) + (c[2].empty() ? "No islands found with these parameters.\n" : ""));
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
  const std::string error =
      "cannot write no-dir/islands.txt: No such file or directory";
  EXPECT_EQ(cordsortI(1, 0.05, "scores.txt", "no-dir/islands.txt"), error);
  EXPECT_EQ(cordsortII(0.05, "scores.txt", "no-dir/islands.txt", 1), error);
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
