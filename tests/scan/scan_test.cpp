#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "app/dialogue.h"
#include "scan/island_one.h"
#include "scan/island_two.h"
#include "test_support.h"

namespace morvale {
namespace {

using Scan = testing::ScratchDir;

std::vector<std::string> linesMatching(const std::string& text, const std::string& pattern) {
  std::vector<std::string> out;
  std::istringstream in(text);
  const std::regex re(pattern);
  for (std::string line; std::getline(in, line);)
    if (std::regex_search(line, re)) out.push_back(line);
  return out;
}

TEST_F(Scan, FirstPhaseWindowSizesAndStarts) {
  testing::writeFile("g.fa", ">g\n" + testing::randomDna(50, 4) + "\n");
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(IslandI(2, 10, 3, 5, 10, "g.fa", 2, 10), ScanResult::kCompleted);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(linesMatching(out, "Generating"),
            (std::vector<std::string>{"Generating random sample for 10 probing window",
                                      "Generating random sample for 20 probing window",
                                      "Generating random sample for 30 probing window",
                                      "Generating random sample for 40 probing window"}));
  const auto size10 = linesMatching(out, "^10 window");
  ASSERT_EQ(size10.size(), 8u);
  EXPECT_EQ(size10.front(), "10 window is running at 5 bp position");
  EXPECT_EQ(size10.back(), "10 window is running at 40 bp position");
  EXPECT_EQ(platform_.clears, 8 + 6 + 4 + 2);
}

TEST_F(Scan, IslandListsAreReadFlatAndCheckedBeforeUse) {
  for (const char* text : {"100 200\n300 400\n", "100\n200\n300\n400\n", "100 200 300 400"}) {
    testing::writeFile("i.txt", text);
    const IslandList list = readIslandList("i.txt");
    EXPECT_EQ(list.values, (std::vector<std::int64_t>{100, 200, 300, 400}));
    EXPECT_EQ(list.problem, "");
  }
  testing::writeFile("i.txt", "100 200 3000000000 400");
  const IslandList cut = readIslandList("i.txt");
  EXPECT_EQ(cut.values, (std::vector<std::int64_t>{100, 200}));
  EXPECT_NE(cut.problem.find("\"3000000000\""), std::string::npos);

  // The refused lists are in the console's bad-input table; a clipped last end is fine.
  std::vector<std::int64_t> clipped{100, 200, 300, 5000};
  EXPECT_EQ(islandListProblem(clipped, 1000), "");
  EXPECT_EQ(clipped.back(), 1000);

  const std::string genome = testing::randomDna(1000, 9);
  const std::string bg = backgroundSequence(genome, {100, 200, 300, 400});
  EXPECT_EQ(bg, genome.substr(0, 100) + genome.substr(200, 100) + genome.substr(400));
}

TEST_F(Scan, RefinementWindowsStayInsideTheIslands) {
  testing::writeFile("g.fa", testing::randomDna(3000, 12));
  testing::writeFile("i.txt", "1 25\n100 160\n500 530\n");
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(IslandII(2, 25, 4, 20, "g.fa", "i.txt", 5, 20, 3), ScanResult::kCompleted);
  const auto lines = linesMatching(::testing::internal::GetCapturedStdout(), "A window");
  // Island (1, 25) is not longer than W; (100, 160) has starts 100, 120; (500, 530) has 500.
  EXPECT_EQ(
      lines,
      (std::vector<std::string>{
          "A window of 25 is running at position 112", "A window of 25 is running at position 112",
          "A window of 25 is running at position 112", "A window of 25 is running at position 132",
          "A window of 25 is running at position 132", "A window of 25 is running at position 132",
          "A window of 25 is running at position 512", "A window of 25 is running at position 512",
          "A window of 25 is running at position 512"}));
  testing::writeFile("i.txt", "100 200 150 300\n");
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(IslandII(2, 25, 4, 20, "g.fa", "i.txt", 5, 20, 3), ScanResult::kCompleted);
  EXPECT_EQ(
      linesMatching(::testing::internal::GetCapturedStdout(), "A window|nothing is scored").size(),
      1u);
}

// A genome with a planted stretch of very different composition: both phases
// must report islands over it, for every measure.
TEST_F(Scan, BothPhasesFindAPlantedSegmentForEveryMeasure) {
  const std::int64_t plantStart = 30000;
  const std::int64_t plantEnd = 40000;
  testing::writeFile("g.fa", ">planted\n" + testing::randomDna(30000, 1) +
                                 testing::randomDna(10000, 2, 0.15) + testing::randomDna(25000, 3) +
                                 "\n");
  for (int measure = 1; measure <= 6; ++measure) {
    std::istringstream answers(
        std::to_string(measure) +
        " 1  2 2000 50 20 500 9000 g.fa  0.001 2 n  y  1500 50 20 250 3 2  0.05");
    std::ostringstream out;
    RealPhases phases;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(runDialogue(answers, out, phases), 0);
    ::testing::internal::GetCapturedStdout();
    const char* prefix[] = {"Ab", "Eu", "KL"};
    for (const char* phase : {"-first-Islands.txt", "-refinement-Islands.txt"}) {
      std::istringstream islands(testing::readFile(prefix[(measure - 1) % 3] + std::string(phase)));
      std::int64_t start, end, inside = 0, total = 0;
      while (islands >> start >> end) {
        total += end - start;
        inside += std::max<std::int64_t>(0, std::min(end, plantEnd) - std::max(start, plantStart));
      }
      EXPECT_GT(inside, 5000) << "measure " << measure << phase;
      EXPECT_GT(inside, total * 6 / 10) << "measure " << measure << phase;
    }
  }
}

}  // namespace
}  // namespace morvale
