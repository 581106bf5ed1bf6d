// The report companion: tracks and table in the file's own coordinates, the
// picture, the checks against the run record, and its command line.
#include "report/report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>

#include "islands/result_files.h"
#include "islands/run_record.h"
#include "genome/letters_checksum.h"
#include "report/html_page.h"
#include "report/svg_plot.h"
#include "test_support.h"

namespace morvale::report {
namespace {

using morvale::testing::readFile;
using morvale::testing::writeFile;

// Three records with N runs, lower-case stretches and an empty line, built here.
const char* const kGenome =
    ">chrA first record\n"
    "ACGTACGTNNNNNNNNNNacgtacgtac\n"
    "GGGGCCCCNNNNAAAATTTTGCGC\n"
    "\n"
    ">plasmid_B\n"
    "nnnnnTTTTAAAACCCCGGGGacgt\n"
    "ACGTNNNN\n"
    ">chrC\n"
    "GATTACAGATTACANNNNNNNNNNNNNNNNNNNNGATTACA\n";

// The letters of each record as they stand in the file, by name.
std::map<std::string, std::string> recordLetters() {
  std::map<std::string, std::string> records;
  std::istringstream in(kGenome);
  std::string name;
  for (std::string line; std::getline(in, line);)
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
  static std::string svgOf(const LoadedRun& in) {
    std::ostringstream out;
    writeSvg(out, in);
    return out.str();
  }
  static std::string text(void (*write)(std::ostream&, const LoadedRun&), const LoadedRun& in) {
    std::ostringstream out;
    write(out, in);
    return out.str();
  }
};

// Every island, and every piece of one that spans records, lands on the letters it
// covers in the file: slicing the record's own letters gives the island's letters.
TEST_F(Report, TracksUseRecordNamesAndPositionsOfTheFile) {
  // The genome string: chrA 38 letters [0, 38), plasmid_B 24 [38, 62), chrC 21 [62, 83).
  const LoadedRun in = load("1\t8\n30\t45\n70\t81\n");  // island 1 ends before an N run
  ASSERT_EQ(in.genome.length, 83);
  const std::map<std::string, std::string> file = recordLetters();
  std::istringstream bed(text(writeBed, in));
  std::vector<std::string> names;
  std::string covered;
  for (std::string record, label, score, strand; bed >> record;) {
    std::int64_t start, end;
    bed >> start >> end >> label >> score >> strand;
    names.push_back(record + ":" + label);
    const std::string slice = file.at(record).substr(start, end - start);
    EXPECT_EQ(acgtOf(slice.substr(0, 1) + slice.substr(slice.size() - 1)).size(), 2u) << slice;
    covered += acgtOf(slice);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"chrA:island_1", "chrA:island_2_part1of2",
                                             "plasmid_B:island_2_part2of2", "chrC:island_3"}));
  EXPECT_EQ(covered, in.genome.letters.substr(0, 8) + in.genome.letters.substr(30, 15) +
                         in.genome.letters.substr(70, 11));
  const std::string gff = text(writeGff3, in);
  EXPECT_EQ(gff.rfind("##gff-version 3\n##sequence-region chrA 1 52\n"
                      "##sequence-region plasmid_B 1 33\n##sequence-region chrC 1 41\n",
                      0),
            0u)
      << gff;
  EXPECT_NE(gff.find("\nchrA\tmorvale\tgenomic_island\t45\t52\t.\t.\t.\tID=island_2_part1of2;"
                     "island=island_2;part=1/2;"),
            std::string::npos)
      << gff;
  EXPECT_NE(text(writeTable, in).find("island_3\tchrC\t9\t39\t31\t0\tNA\t"), std::string::npos)
      << text(writeTable, in);
}

TEST_F(Report, InputsThatCannotBeUsedAreNamed) {
  struct Case {
    const char *scores, *islands, *error;
  } cases[] = {
      {"20\t75\t0.01\n", "1 30\n", "s.txt: row 1 (window 65-85) lies beyond the 83 letters"},
      {"20\t15\tnan\n", "1 30\n", "s.txt: row 1 is not a window-score row"},
      {"20\t15\t0.01\n", "1 30\n70 90\n", "i.txt: island 2 (70-90) does not lie within the 83"},
      {"20\t15\t0.01\n", "1 30\n70\n", "i.txt: island 2 has no end"},
      {"20\t15\t0.01\n", "one two\n", "i.txt: holds text where a number was expected"},
  };
  for (const Case& c : cases) {
    writeFile("s.txt", c.scores);
    writeFile("i.txt", c.islands);
    LoadedRun in;
    std::string error;
    EXPECT_FALSE(loadInputs("g.fa", "s.txt", "i.txt", in, error));
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
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
  EXPECT_EQ(error.rfind("g.fa is not the genome of this run: it has 83 letters (MD5 ", 0), 0u)
      << error;
  LoadedRun right;
  record.set("genome_md5", lettersChecksum(load("").genome.letters));
  ASSERT_EQ(record.write("KL-first.run.txt"), "");
  ASSERT_TRUE(loadInputs("g.fa", "KL-first.txt", "i.txt", right, error)) << error;
  EXPECT_EQ(right.figures.cutoff, 1e-10);
  EXPECT_EQ(right.figures.cutoffLabel, "cut-off 1e-10");
  // With the windows tested on record, the rank rule suggests a cut-off: ceil(0.02 * 150)
  // = 3, the third smallest p of the file.
  writeFile("KL-first.txt", "20\t15\t1e-9\n20\t20\t1e-40\n20\t25\t0.01\n20\t30\t1e-3\n");
  record.set("windows_tested", 150LL);
  ASSERT_EQ(record.write("KL-first.run.txt"), "");
  LoadedRun suggested;
  ASSERT_TRUE(loadInputs("g.fa", "KL-first.txt", "i.txt", suggested, error)) << error;
  EXPECT_EQ(suggested.figures.suggestion,
            "suggested cut-off: 0.001, the 2 % most significant of 150 windows");
  EXPECT_NE(svgOf(suggested).find(">suggested cut-off 0.001</text>"), std::string::npos);
}

// p-values down to 1e-40 and a cut-off at 1e-10: every point stays inside the plot,
// the cut-off line is drawn, and the file validates and renders.
TEST_F(Report, PictureHidesNothing) {
  LoadedRun in = load("1\t20\n30\t45\n");
  for (int i = 0; i < 60; ++i) in.rows.push_back({20, i, i + 20, std::pow(10.0, -i * 40.0 / 59)});
  in.figures.cutoff = 1e-10;
  in.figures.cutoffLabel = "cut-off 1e-10";
  EXPECT_GE(plotTop(in), 40.0);
  const std::string svg = svgOf(in);
  writeFile("p.svg", svg);
  const std::regex point("M([0-9.]+) ([0-9.]+)h0");
  int points = 0;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), point); it != std::sregex_iterator();
       ++it, ++points) {
    const double x = std::stod((*it)[1]);
    const double y = std::stod((*it)[2]);
    EXPECT_TRUE(x >= 70 && x <= 1130 && y >= 70 && y <= 390) << x << " " << y;
  }
  EXPECT_GT(points, 30);
  EXPECT_NE(svg.find(">cut-off 1e-10</text>"), std::string::npos);
  EXPECT_NE(svg.find(">genome mean "), std::string::npos);
  EXPECT_NE(svg.find(">plasmid_B</text>"), std::string::npos);  // record boundary
  if (std::system("command -v xmllint > /dev/null && command -v rsvg-convert > /dev/null") != 0)
    GTEST_SKIP() << "xmllint or rsvg-convert missing (Debian: libxml2-utils, librsvg2-bin)";
  EXPECT_EQ(std::system("xmllint --noout p.svg"), 0);
  EXPECT_EQ(std::system("rsvg-convert -w 1320 p.svg -o p.png"), 0);
}

// A 5 Mbp genome with a row for every window of six sizes and a hundred islands:
// the page stays under 2 MB, the picture under 5 MB.
TEST_F(Report, PageOfAFiveMbpGenomeStaysUnderTwoMegabytes) {
  LoadedRun in = load("");
  in.genome.letters = morvale::testing::randomDna(5000000, 3);
  in.genome.length = 5000000;
  in.genome.records[0].joinedEnd = 5000000;
  in.genome.records[0].runs = {{0, 0, 5000000}};
  unsigned state = 7;
  for (std::int64_t w = 5000; w <= 10000; w += 1000) {
    for (std::int64_t start = 0; start + w < 5000000; start += 1000) {
      state = state * 1664525u + 1013904223u;
      in.rows.push_back({w, start, start + w, std::pow(10.0, -(state % 4000) / 100.0)});
    }
  }
  for (int i = 0; i < 100; ++i) in.islands.push_back({i * 50000, i * 50000 + 20000});
  in.figures.pieces.clear();
  for (std::size_t i = 0; i < 100; ++i)
    in.figures.pieces.push_back({i, 0, static_cast<std::int64_t>(i) * 50000,
                         static_cast<std::int64_t>(i) * 50000 + 20000, 1, 1, 50});
  std::ostringstream page;
  writeHtmlPage(page, in, {"islands.bed", "islands.gff3", "islands.tsv", ""});
  std::printf("page of %zu rows: %zu bytes\n", in.rows.size(), page.str().size());
  EXPECT_LT(page.str().size(), 2u * 1000 * 1000);
  EXPECT_LT(svgOf(in).size(), 5u * 1000 * 1000);
  EXPECT_NE(page.str().find("<a href=\"islands.gff3\">GFF3</a>"), std::string::npos);
}

TEST_F(Report, CommandLine) {
  const std::string tool = MORVALE_REPORT_BIN;
  writeFile("i.txt", "1\t30\n");
  EXPECT_EQ(std::system((tool + " --help > help.txt").c_str()), 0);
  // A usage error is one line naming the argument, with status 2.
  const struct {
    const char *args, *line;
  } usage[] = {{"", "missing GENOME"},
               {"g.fa s.txt", "missing ISLANDS"},
               {"g.fa s.txt i.txt p extra", "one argument too many: extra"},
               {"-x g.fa s.txt i.txt", "unknown option -x"},
               {"g.fa s.txt i.txt --html", "--html needs a file name for the page"}};
  for (const auto& u : usage) {
    EXPECT_EQ(std::system((tool + " " + u.args + " 2> err.txt").c_str()), 2 << 8) << u.args;
    const std::string err = readFile("err.txt");
    EXPECT_EQ(err.rfind(std::string("morvale-report: ") + u.line, 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
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
