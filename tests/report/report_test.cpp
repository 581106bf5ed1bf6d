// The report companion: tracks and table in the file's own coordinates, the
// picture, the checks against the run record, and its command line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <regex>
#include <sstream>

#include "genome/letters_checksum.h"
#include "islands/run_record.h"
#include "report/html_page.h"
#include "report/loaded_run.h"
#include "report/svg_plot.h"
#include "report/tracks.h"
#include "test_support.h"

namespace morvale::report {
namespace {

using morvale::testing::readFile;
using morvale::testing::writeFile;

// Three records with N runs, lower-case stretches and an empty line.
const char* const kGenome =
    ">chrA first record\nACGTACGTNNNNNNNNNNacgtacgtac\nGGGGCCCCNNNNAAAATTTTGCGC\n\n"
    ">plasmid_B\nnnnnnTTTTAAAACCCCGGGGacgt\nACGTNNNN\n"
    ">chrC\nGATTACAGATTACANNNNNNNNNNNNNNNNNNNNGATTACA\n";

// The letters of each record as they stand in the file, by name.
std::map<std::string, std::string> recordLetters() {
  std::map<std::string, std::string> records;
  std::string name;
  for (const std::string& line : morvale::testing::split(kGenome, '\n'))
    line[0] == '>' ? name = line.substr(1, line.find(' ') - 1) : records[name] += line;
  return records;
}

// The letters a, c, g, t of a slice in lower case.
std::string acgtOf(const std::string& slice) {
  std::string letters;
  for (char c : slice)
    if (std::strchr("ACGTacgt", c)) letters += static_cast<char>(std::tolower(c));
  return letters;
}

class Report : public morvale::testing::ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    writeFile("g.fa", kGenome);
    writeFile("s.txt", "20\t15\t0.001\n20\t50\t1e-05\n");
  }
  LoadedRun load(const std::string& islands, const std::string& scores = "s.txt") {
    writeFile("i.txt", islands);
    LoadedRun in;
    std::string error;
    EXPECT_TRUE(loadInputs("g.fa", scores, "i.txt", in, error)) << error;
    return in;
  }
  static std::string text(void (*write)(std::ostream&, const LoadedRun&), const LoadedRun& in) {
    std::ostringstream out;
    write ? write(out, in) : writeSvg(out, in);  // the picture when `write` is null
    return out.str();
  }
};

// Every island, and each piece of one spanning records, lands on its letters in the file.
TEST_F(Report, TracksUseRecordNamesAndPositionsOfTheFile) {
  // The genome string: chrA 38 letters [0, 38), plasmid_B 24 [38, 62), chrC 21 [62, 83).
  const LoadedRun in = load("1\t8\n30\t45\n70\t81\n");  // island 1 ends before an N run
  ASSERT_EQ(in.genome.length, 83);
  const std::map<std::string, std::string> file = recordLetters();
  std::istringstream bed(text(writeBed, in));
  std::string names, covered;
  for (std::string record, label, score, strand; bed >> record;) {
    std::int64_t start, end;
    bed >> start >> end >> label >> score >> strand;
    names += record + ":" + label + " ";
    const std::string slice = file.at(record).substr(start, end - start);
    EXPECT_EQ(acgtOf(slice.substr(0, 1) + slice.substr(slice.size() - 1)).size(), 2u) << slice;
    covered += acgtOf(slice);
  }
  EXPECT_EQ(names,
            "chrA:island_1 chrA:island_2_part1of2 plasmid_B:island_2_part2of2 chrC:island_3 ");
  const std::string& letters = in.genome.letters;
  EXPECT_EQ(covered, letters.substr(0, 8) + letters.substr(30, 15) + letters.substr(70, 11));
  const std::string gff = text(writeGff3, in);
  EXPECT_EQ(gff.substr(0, gff.find("\nchrA\t")),
            "##gff-version 3\n##sequence-region chrA 1 52\n"
            "##sequence-region plasmid_B 1 33\n##sequence-region chrC 1 41");
  EXPECT_NE(gff.find("\nchrA\tmorvale\tgenomic_island\t45\t52\t.\t.\t.\tID=island_2_part1of2;"
                     "island=island_2;part=1/2;"),
            std::string::npos);
  EXPECT_NE(text(writeTable, in).find("island_3\tchrC\t9\t39\t31\t0\tNA\t"), std::string::npos);
}

TEST_F(Report, InputsThatCannotBeUsedAreNamed) {
  for (const char* row :
       {"20 75 0.01|1 30|s.txt: row 1 (window 65-85) lies beyond the 83 letters",
        "20 15 nan|1 30|s.txt: row 1 is not a window-score row",
        "20 15 0.01|1 30 70 90|i.txt: island 2 (70-90) does not lie within the 83",
        "20 15 0.01|1 30 70|i.txt: island 2 has no end",
        "20 15 0.01|one two|i.txt: holds text where a number was expected"}) {
    const std::vector<std::string> c = morvale::testing::split(row, '|');
    writeFile("s.txt", c[0] + "\n");
    writeFile("i.txt", c[1] + "\n");
    LoadedRun in;
    std::string error;
    EXPECT_FALSE(loadInputs("g.fa", "s.txt", "i.txt", in, error));
    EXPECT_EQ(error.rfind(c[2], 0), 0u) << error;
  }
}

// With a run record beside the scores, the genome must be the run's.
TEST_F(Report, TheRunRecordNamesTheGenomeAndGivesTheCutoff) {
  EXPECT_EQ(runRecordPath("out/x/Euclidean-refinement.txt"), "out/x/Eu-refinement.run.txt");
  EXPECT_EQ(runRecordPath("KL-first.txt"), "KL-first.run.txt");
  EXPECT_EQ(runRecordPath("mine.txt"), "");
  writeFile("KL-first.txt", "20\t15\t1e-40\n");
  RunRecord record;
  record.set("phase", "first");
  record.set("genome_file", "g.fa");
  record.set("genome_length", 83LL);
  record.set("genome_md5", "0123456789abcdef0123456789abcdef");
  record.setReal("cutoff", 1e-10);
  ASSERT_EQ(record.write("KL-first.run.txt"), "");
  writeFile("i.txt", "1 20\n");
  LoadedRun in;
  std::string error;
  EXPECT_FALSE(loadInputs("g.fa", "KL-first.txt", "i.txt", in, error));
  EXPECT_EQ(error.rfind("g.fa is not the genome of this run: it has 83 letters (MD5 ", 0), 0u);
  record.set("genome_md5", lettersChecksum(load("").genome.letters));
  ASSERT_EQ(record.write("KL-first.run.txt"), "");
  in = load("1 20\n", "KL-first.txt");
  EXPECT_EQ(in.figures.cutoff, 1e-10);
  EXPECT_EQ(in.figures.cutoffLabel, "cut-off 1e-10");
  // With the windows tested on record, the rank rule suggests the ceil(0.02 * 150) = 3rd p.
  writeFile("KL-first.txt", "20\t15\t1e-9\n20\t20\t1e-40\n20\t25\t0.01\n20\t30\t1e-3\n");
  record.set("windows_tested", 150LL);
  ASSERT_EQ(record.write("KL-first.run.txt"), "");
  in = load("1 20\n", "KL-first.txt");
  EXPECT_EQ(in.figures.suggestion,
            "suggested cut-off: 0.001, the 2 % most significant of 150 windows");
  EXPECT_NE(text(nullptr, in).find(">suggested cut-off 0.001</text>"), std::string::npos);
}

// p down to 1e-40, cut-off 1e-10: every point inside the plot, the line drawn, a valid file.
TEST_F(Report, PictureHidesNothing) {
  LoadedRun in = load("1\t20\n30\t45\n");
  for (int i = 0; i < 60; ++i) in.rows.push_back({20, i, i + 20, std::pow(10.0, -i * 40.0 / 59)});
  in.figures.cutoff = 1e-10;
  in.figures.cutoffLabel = "cut-off 1e-10";
  EXPECT_GE(plotTop(in), 40.0);
  const std::string svg = text(nullptr, in);
  writeFile("p.svg", svg);
  const std::regex point("M([0-9.]+) ([0-9.]+)h0");
  int points = 0;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), point); it != std::sregex_iterator();
       ++it, ++points) {
    const double x = std::stod((*it)[1]), y = std::stod((*it)[2]);
    EXPECT_TRUE(x >= 70 && x <= 1130 && y >= 70 && y <= 390) << x << " " << y;
  }
  EXPECT_GT(points, 30);
  for (const char* part : {">cut-off 1e-10</text>", ">genome mean ", ">plasmid_B</text>"})
    EXPECT_NE(svg.find(part), std::string::npos) << part;  // the last: a record boundary
  if (std::system("command -v xmllint > /dev/null && command -v rsvg-convert > /dev/null") != 0)
    GTEST_SKIP() << "xmllint or rsvg-convert missing (Debian: libxml2-utils, librsvg2-bin)";
  EXPECT_EQ(std::system("xmllint --noout p.svg"), 0);
  EXPECT_EQ(std::system("rsvg-convert -w 1320 p.svg -o p.png"), 0);
}

// 5 Mbp, a row for every window of six sizes, 100 islands: page under 2 MB, picture under 5.
TEST_F(Report, PageOfAFiveMbpGenomeStaysUnderTwoMegabytes) {
  LoadedRun in = load("");
  in.genome.letters = morvale::testing::randomDna(5000000, 3);
  in.genome.length = in.genome.records[0].joinedEnd = 5000000;
  in.genome.records[0].runs = {{0, 0, 5000000}};
  std::mt19937 random(7);
  for (std::int64_t w = 5000; w <= 10000; w += 1000)
    for (std::int64_t start = 0; start + w < 5000000; start += 1000)
      in.rows.push_back({w, start, start + w, std::pow(10.0, -double(random() % 4000) / 100)});
  for (std::int64_t i = 0; i < 100; ++i) in.islands.push_back({i * 50000, i * 50000 + 20000});
  deriveFigures(in);
  std::ostringstream page;
  writeHtmlPage(page, in, {"islands.bed", "islands.gff3", "islands.tsv", "", ""});
  EXPECT_LT(page.str().size(), 2u * 1000 * 1000);
  EXPECT_LT(text(nullptr, in).size(), 5u * 1000 * 1000);
  EXPECT_NE(page.str().find("<a href=\"islands.gff3\">GFF3</a>"), std::string::npos);
}

TEST_F(Report, CommandLine) {
  const std::string tool = MORVALE_REPORT_BIN;
  writeFile("i.txt", "1\t30\n");
  EXPECT_EQ(std::system((tool + " --help > help.txt").c_str()), 0);
  // A usage error is one line naming the argument, with status 2.
  for (const char* row : {"|missing GENOME (see --help)", "g.fa s.txt|missing ISLANDS (see --help)",
                          "g.fa s.txt i.txt p extra|one argument too many: extra (see --help)",
                          "-x g.fa s.txt i.txt|unknown option -x (see --help)",
                          "g.fa s.txt i.txt --html|--html needs a file name for the page"}) {
    const std::vector<std::string> u = morvale::testing::split(row, '|');
    EXPECT_EQ(std::system((tool + " " + u[0] + " 2> err.txt").c_str()), 2 << 8) << u[0];
    EXPECT_EQ(readFile("err.txt"), "morvale-report: " + u[1] + "\n");
  }
  EXPECT_EQ(std::system((tool + " g.fa s.txt nope.txt 2> err.txt").c_str()), 1 << 8);
  EXPECT_EQ(readFile("err.txt"), "morvale-report: nope.txt: cannot open the islands file\n");
  EXPECT_EQ(std::system((tool + " --html page.html g.fa s.txt i.txt > table.txt").c_str()), 0);
  EXPECT_NE(readFile("page.html").find("<a href=\"i.bed\">BED</a>"), std::string::npos);
  for (const char* file : {"i.bed", "i.gff3", "i.svg", "i.tsv"})
    EXPECT_TRUE(morvale::testing::fileExists(file));
}

}  // namespace
}  // namespace morvale::report
