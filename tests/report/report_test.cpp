// The report companion: tracks, table, picture and its command line.
#include "report/report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "islands/result_files.h"
#include "report/svg_plot.h"
#include "test_support.h"

namespace morvale::report {
namespace {

class Report : public morvale::testing::ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    // 1000 letters: the first 500 all g/c, the rest all a/t.
    morvale::testing::writeFile("g.fa", ">chrT test genome\n" + std::string(250, 'g') +
                                            std::string(250, 'c') + std::string(500, 'a') + "\n");
    morvale::testing::writeFile("s.txt", "200\t100\t0.001\n200\t900\t1e-05\n300\t150\t0.01\n");
  }
  Inputs load(const std::string& islands) {
    morvale::testing::writeFile("i.txt", islands);
    Inputs in;
    std::string error;
    EXPECT_TRUE(loadInputs("g.fa", "s.txt", "i.txt", in, error)) << error;
    return in;
  }
  static std::string text(void (*write)(std::ostream&, const Inputs&), const Inputs& in) {
    std::ostringstream out;
    write(out, in);
    return out.str();
  }
};

TEST_F(Report, TracksAtTheGenomeStartAndEnd) {
  const Inputs in = load("1\t300\n800\t1000\n");
  EXPECT_EQ(text(writeBed, in),
            "chrT\t0\t300\tisland_1\t600\t.\nchrT\t800\t1000\tisland_2\t1000\t.\n");
  EXPECT_EQ(text(writeGff3, in),
            "##gff-version 3\n##sequence-region chrT 1 1000\n"
            "chrT\tmorvale\tgenomic_island\t1\t300\t.\t.\t.\tID=island_1;windows=2;best_p=0.001;"
            "gc=100.00\n"
            "chrT\tmorvale\tgenomic_island\t801\t1000\t.\t.\t.\tID=island_2;windows=1;best_p=1e-05;"
            "gc=0.00\n");
  EXPECT_NE(text(writeTable, in).find("island_1\t0\t300\t300\t2\t0.001\t100.0\t+50.0\n"),
            std::string::npos);
}

TEST_F(Report, EmptyIslandsFile) {
  const Inputs in = load("");
  EXPECT_EQ(text(writeBed, in), "");
  EXPECT_EQ(text(writeGff3, in), "##gff-version 3\n##sequence-region chrT 1 1000\n");
  EXPECT_NE(text(writeTable, in).find("total\t0 islands"), std::string::npos);
}

TEST_F(Report, InputsThatCannotBeUsedAreNamed) {
  struct Case {
    const char* scores;
    const char* islands;
    const char* error;
  } cases[] = {
      {"200\t950\t0.01\n", "1 300\n",
       "s.txt: row 1 (window 850-1050) lies beyond the 1000 letters"},
      {"200\t100\tnan\n", "1 300\n", "s.txt: row 1 is not a window-score row"},
      {"200\t100\t0.01\n", "1 300\n900 1200\n", "i.txt: island 2 (900-1200) does not lie within"},
      {"200\t100\t0.01\n", "1 300\n900\n", "i.txt: island 2 has no end"},
      {"200\t100\t0.01\n", "one two\n", "i.txt: holds text where a number was expected"},
  };
  for (const Case& c : cases) {
    morvale::testing::writeFile("s.txt", c.scores);
    morvale::testing::writeFile("i.txt", c.islands);
    Inputs in;
    std::string error;
    EXPECT_FALSE(loadInputs("g.fa", "s.txt", "i.txt", in, error));
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
  }
  Inputs in;
  std::string error;
  EXPECT_FALSE(loadInputs("missing.fa", "s.txt", "i.txt", in, error));
  EXPECT_EQ(error, "Cannot open genome file missing.fa: No such file or directory");
}

TEST_F(Report, CommandLine) {
  const std::string tool = MORVALE_REPORT_BIN;
  morvale::testing::writeFile("i.txt", "1\t300\n");
  EXPECT_EQ(std::system((tool + " > help.txt").c_str()), 2 << 8);
  EXPECT_EQ(std::system((tool + " --help > help.txt").c_str()), 0);
  EXPECT_EQ(std::system((tool + " g.fa s.txt nope.txt 2> err.txt").c_str()), 1 << 8);
  EXPECT_EQ(morvale::testing::readFile("err.txt"),
            "morvale-report: nope.txt: cannot open the islands file\n");
  EXPECT_EQ(std::system((tool + " g.fa s.txt i.txt > table.txt").c_str()), 0);
  for (const char* file : {"i.bed", "i.gff3", "i.svg"})
    EXPECT_TRUE(morvale::testing::fileExists(file));
}

// A million rows make a picture under 5 MB that XML tools accept and that renders.
TEST_F(Report, PictureOfAMillionRowsStaysSmallAndRenders) {
  Inputs in;
  in.genomeFile = "g & <genome>.fa";
  in.scoresFile = "s.txt";
  in.islandsFile = "i.txt";
  in.sequenceName = "big";
  in.genomeLength = 10000000;
  in.letters = morvale::testing::randomDna(10000000, 8);
  unsigned state = 1;
  for (int i = 0; i < 1000000; ++i) {
    state = state * 1664525u + 1013904223u;
    const std::int64_t size = 5000 + 1000 * (i % 6);
    const std::int64_t start = (state >> 8) % 9990000;
    in.rows.push_back(
        {size, start, start + size, std::pow(10.0, -static_cast<double>(state % 3000) / 100.0)});
  }
  in.islands = {{0, 20000}, {5000000, 5100000}};
  std::ofstream("big.svg") << text(writeSvg, in);
  const std::size_t bytes = morvale::testing::readFile("big.svg").size();
  std::printf("picture of %zu rows: %zu bytes\n", in.rows.size(), bytes);
  EXPECT_LT(bytes, 5u * 1000 * 1000);
  if (std::system("command -v xmllint > /dev/null && command -v rsvg-convert > /dev/null") != 0)
    GTEST_SKIP() << "xmllint or rsvg-convert missing (Debian: libxml2-utils, librsvg2-bin)";
  EXPECT_EQ(std::system("xmllint --noout big.svg"), 0);
  EXPECT_EQ(std::system("rsvg-convert -w 1200 big.svg -o big.png"), 0);
  EXPECT_GT(morvale::testing::readFile("big.png").size(), 1000u);
}

// Rows of 200,000 window sizes, one point each: the thinning of the points must end.
TEST_F(Report, PictureOfManyWindowSizesIsFinished) {
  Inputs in;
  in.sequenceName = "big";
  in.genomeLength = 1000000;
  in.letters = std::string(1000000, 'a');
  for (int i = 0; i < 200000; ++i) in.rows.push_back({i + 1, i * 4, i * 4 + i + 1, 0.01});
  EXPECT_GT(text(writeSvg, in).size(), 1000u);
}

TEST(ReportTicks, RoundSteps) {
  EXPECT_EQ(roundTicks(370), (std::vector<double>{0, 50, 100, 150, 200, 250, 300, 350}));
  EXPECT_EQ(roundTicks(5.3), (std::vector<double>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(roundTicks(18).back(), 18);
}

}  // namespace
}  // namespace morvale::report
