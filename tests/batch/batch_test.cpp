// morvale-run: its options, its output folder, reproducible and parallel results
// equal to the dialogue's, gzip input and failures of one genome (the command line
// as a user meets it: cli_test.py; signals: stop_signal_test.py).
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/dialogue.h"
#include "batch/batch_run.h"
#include "batch/collect.h"
#include "batch/options.h"
#include "batch/sample_sheet.h"
#include "islands/run_record.h"
#include "test_support.h"

namespace morvale {
namespace {

namespace fs = std::filesystem;

TEST(BatchOptions, EveryBadValueIsNamedWithWhatTheOptionTakes) {
  // "arguments|the start of the error"
  for (const char* row :
       {"-k 9 g.fa|-k 9: enter a whole number from 1 to 8",
        "-k3 --window 2 g.fa|--window 2: enter a whole number from 3 to 10000",
        "--window=10001 g.fa|--window 10001: enter a whole number from 3 to 10000",
        "--pool 1 g.fa|--pool 1: enter a whole number of at least 2",
        "--draws 1000001 g.fa|--draws 1000001: enter a whole number from 2 to 1000000",
        "--step 0 g.fa|--step 0: enter a whole number of at least 1",
        "--increment x g.fa|--increment x: enter a whole number of at least 1",
        "--refine-window 1 -k 2 g.fa|--refine-window 1: enter a whole number of at least 2",
        "--scans 0 g.fa|--scans 0: enter a whole number of at least 1",
        "--votes -2 g.fa|--votes -2: enter a whole number from 1 to the --scans value",
        "--measure kl-x g.fa|--measure kl-x: enter 1 to 6 or abs, euclid, kl, abs-markov, "
        "euclid-markov, kl-markov",
        "--cutoff 1e g.fa|--cutoff 1e: enter auto or a number above 0, at most 1",
        "--cutoff 0 g.fa|--cutoff 0: enter auto or a number above 0, at most 1",
        "--cutoff 1.5 g.fa|--cutoff 1.5: enter auto or a number above 0, at most 1",
        "--refine-cutoff 0 g.fa|--refine-cutoff 0: enter a number above 0, at most 1",
        "--min-windows 0 g.fa|--min-windows 0: enter a whole number of at least 1",
        "--votes 4 --scans 3 g.fa|--votes 4: enter a whole number from 1 to the --scans value (3)",
        "--seed 4294967296 g.fa|--seed 4294967296: enter a whole number from 0 to 4294967295",
        "--force=yes g.fa|--force takes no value",
        "g.fa --out|--out needs a folder name",
        "g.fa -qo|-o needs a folder name",
        "g.fa -k|-k needs a whole number from 1 to 8",
        "-qt 0 g.fa|-t 0: enter a whole number from 1 to 1024",
        "-qx g.fa|unknown option -x in -qx (see --help)",
        "-q|no genome file given (see --help)",
        "--name a/b g.fa|--name a/b: a name cannot hold '/' or '\\'",
        "--name .a g.fa|--name .a: a name cannot start with '.'",
        "--name a{b} g.fa|--name a{b}: a name cannot hold '{' or '}'",
        "--name index.html g.fa|--name index.html: the output folder keeps that name for itself",
        "--name jobs g.fa|--name jobs: the output folder keeps that name for itself",
        "--name x.tmp g.fa|--name x.tmp: the output folder keeps that name for itself",
        "--name \xff g.fa|--name \xff: a name must be valid UTF-8",
        "--name \xed\xa0\x80 g.fa|--name \xed\xa0\x80: a name must be valid UTF-8",
        "--check-sheet s.tsv -o out|with --check-sheet: --out is the workflow's own",
        "--check-sheet s.tsv g.fa|--check-sheet takes no genome file",
        "--check-sheet s.tsv --help|with --check-sheet: --help is not an option of a genome's job",
        "--check-sheet s.tsv --check-sheet t.tsv|--check-sheet may be given once",
        "--check-sheet s.tsv --annotation a.gff3|with --check-sheet: --annotation is the",
        "--natural --window 3000 g.fa|--window is a setting of the two phases",
        "--natural-step 10 g.fa|--natural-step is a setting of the natural scan",
        "--natural --natural-window 7 g.fa|--natural-window 7: enter a whole number from 8 to",
        "--natural --natural-step 6000 g.fa|--natural-step 6000: enter at most the "
        "--natural-window",
        "--name a g.fa h.fa|--name and --row take one genome file",
        "--row r.tsv g.fa h.fa|--name and --row take one genome file",
        "--collect out s.tsv t.tsv|--collect takes at most one sample sheet"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    BatchOptions o;
    std::string error;
    EXPECT_EQ(parseOptions(testing::split(c[0], ' '), o, error), ParsedCommand::kUsageError)
        << c[1];
    EXPECT_EQ(error.rfind(c[1], 0), 0u) << error;
  }
  // "arguments|measure k min-windows auto-fraction by-rank seed quiet refine genomes"
  for (const char* row :
       {"g.fa|3 3 4 0.02 1 0 0 1 g.fa", "--sensitive g.fa|3 2 4 0.05 1 0 0 1 g.fa",
        "--sensitive -k 4 --measure 6 g.fa|6 4 4 0.05 1 0 0 1 g.fa",
        "--auto-fraction 0.1 --min-windows 2 --sensitive g.fa|3 2 2 0.1 1 0 0 1 g.fa",
        "--cutoff 1e-9 g.fa|3 3 4 0.02 0 0 0 1 g.fa",
        "--measure euclid-markov -qk4 --seed=7 --no-refine -qt 3 -o out a.fa -- -b.fa|"
        "5 4 4 0.02 1 7 1 0 a.fa -b.fa"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    BatchOptions p;
    std::string error;
    ASSERT_EQ(parseOptions(testing::split(c[0], ' '), p, error), ParsedCommand::kRun) << error;
    std::ostringstream got;
    got << p.first.measure << ' ' << p.first.tupleSize << ' ' << p.minWindows << ' '
        << p.autoFraction << ' ' << !p.cutoff << ' ' << p.seed.value_or(0) << ' ' << p.quiet << ' '
        << p.refine;
    for (const std::string& g : p.genomes) got << ' ' << g;
    EXPECT_EQ(got.str(), c[1]) << c[0];
  }
  for (const char* row :
       {"dir/E_coli.K12.fna.gz|E_coli.K12", "...fasta|genome_3", "d/..fasta|genome_3",
        ".hidden.fa|hidden", "a\tb\\c.fa|a_b_c", "-|stdin"}) {
    const std::vector<std::string> n = testing::split(row, '|');
    EXPECT_EQ(genomeName(n[0], 2), n[1]) << n[0];
  }
}

using Sheets = testing::ScratchDir;

// A sheet's cells lose surrounding blanks and one pair of quotes; names keep --name's rules.
TEST_F(Sheets, RowsAreReadByTheNameRulesOrRefusedWithTheRowNamed) {
  const std::string longName(kMaxNameBytes + 1, 'a');
  // sheet lines joined by '^' | names read, or the error after "s.tsv:"
  for (const std::string& row :
       {std::string("name\tgenome^ \" a b \" \t x.fa ^'c;d'\t'y.fa'|a b,c;d"),
        std::string("genome\tname\tannotation^g.fa\ta\tg.gff3^^|a"),
        std::string("name\tgenome^a\tx.fa^a\ty.fa|3: the name a is given twice"),
        std::string("name\tgenome^a\t-|2: a genome cannot be -"),
        std::string("name\tgenome^a|2: a row needs a name and a genome"),
        std::string("name^a|1: the header must name the columns name and genome"),
        std::string("name\tgenome^index.html\tx|2: the name index.html: the output folder keeps"),
        std::string("name\tgenome^" + longName + "\tx|2: the name " + longName +
                    ": a name can have at most 247 bytes")}) {
    const std::vector<std::string> c = testing::split(row, '|');
    std::string text;
    for (const std::string& line : testing::split(c[0], '^')) text += line + "\n";
    testing::writeFile("s.tsv", text);
    std::vector<SampleRow> rows;
    std::string error;
    const bool read = readSampleSheet("s.tsv", true, rows, error);
    std::string names;
    for (const SampleRow& r : rows) names += (names.empty() ? "" : ",") + r.name;
    EXPECT_EQ(read ? names : error.substr(0, std::min(error.size(), 6 + c[1].size())),
              read ? c[1] : "s.tsv:" + c[1])
        << row;
  }
}

class Batch : public testing::ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    genome_ = testing::plantedGenome();
    fasta_ = ">planted test genome\n";
    for (std::size_t i = 0; i < genome_.size(); i += 60) fasta_ += genome_.substr(i, 60) + "\n";
    testing::writeFile("planted.fa", fasta_);
  }
  // Runs morvale-run with `args` after quick settings of the two phases (of the
  // natural scan, which needs none but -q, when args start with --natural).
  int run(std::vector<std::string> args) {
    const std::vector<std::string> fast = testing::split(
        args[0] == "--natural" ? "-q"
                               : "-q --seed 4242 -k 3 --window 2000 --step 500 --increment 4000 "
                                 "--pool 40 --draws 15 --refine-window 1501 --refine-step 400",
        ' ');
    args.insert(args.begin(), fast.begin(), fast.end());
    BatchOptions o;
    std::string error;
    EXPECT_EQ(parseOptions(args, o, error), ParsedCommand::kRun) << error;
    std::ostringstream err;
    const int status = runBatch(o, console_, err, false);
    err_ = err.str();
    return status;
  }
  static void gzip(const char* name, const std::string& text) {
    gzFile gz = gzopen(name, "wb");
    gzwrite(gz, text.data(), static_cast<unsigned>(text.size()));
    gzclose(gz);
  }
  static std::string results(const std::string& folder) {
    std::string all;
    for (const char* f :
         {"KL-first.txt", "KL-first-Islands.txt", "KL-refinement.txt", "KL-refinement-Islands.txt"})
      all += std::string(f) + "\n" + testing::readFile(folder + "/" + f);
    return all;
  }
  std::string genome_;
  std::string fasta_;
  std::string err_;
};

TEST_F(Batch, ResultsAreTheSameForEveryThreadCountAndForGzipInput) {
  ASSERT_EQ(run({"-t", "1", "-o", "t1", "planted.fa"}), 0) << err_;
  const std::string expected = results("t1/planted");
  // The cut-off by rank: the p of row ceil(0.02 NT) of the rows sorted by p, stated
  // in the run record, the summary and the islands table.
  RunRecord record;
  ASSERT_TRUE(RunRecord::read("t1/planted/KL-first.run.txt", record));
  std::istringstream rows(testing::readFile("t1/planted/KL-first.txt"));
  std::vector<double> p;
  for (double size, centre, value; rows >> size >> centre >> value;) p.push_back(value);
  std::sort(p.begin(), p.end());
  const std::string tested = record.get("windows_tested");
  const std::string cutoff =
      exactRealText(p.at(static_cast<std::size_t>(std::ceil(0.02 * std::stoll(tested))) - 1));
  EXPECT_EQ(record.get("cutoff_rule"), "rank");
  EXPECT_EQ(record.get("cutoff"), cutoff);
  EXPECT_NE(testing::readFile("t1/summary.tsv").find("\t" + cutoff + "\t" + tested + "\t"),
            std::string::npos);
  EXPECT_NE(testing::readFile("t1/planted/islands.tsv")
                .find("# first-phase cut-off " + cutoff + ", the 2 % most significant of " +
                      tested + " windows tested\n"),
            std::string::npos);
  EXPECT_NE(testing::readFile("t1/planted/KL-refinement-Islands.txt"), "");
  for (const char* t : {"2", "4"}) {
    ASSERT_EQ(run({"-t", t, "-o", std::string("t") + t, "planted.fa"}), 0) << err_;
    EXPECT_TRUE(results(std::string("t") + t + "/planted") == expected) << t << " threads";
  }
  gzip("zipped.fa.gz", fasta_);
  ASSERT_EQ(run({"-t", "2", "-o", "gz", "zipped.fa.gz"}), 0) << err_;
  EXPECT_TRUE(results("gz/zipped") == expected);
  // A gzip file cut short is refused, not read as a shorter genome.
  const std::string zipped = testing::readFile("zipped.fa.gz");
  testing::writeFile("cut.fa.gz", zipped.substr(0, zipped.size() / 2));
  EXPECT_EQ(run({"-o", "cut", "cut.fa.gz"}), 1);
  EXPECT_EQ(err_,
            "morvale-run: cut.fa.gz: Genome file cut.fa.gz is not a whole gzip file: it is "
            "damaged or cut short\n");
}

// The natural scan finds the planted segment of the planted genome, and nothing in
// the same genome without it (its cut-off guard says why), without a seed.
TEST_F(Batch, TheNaturalScanFindsThePlantedSegmentAndNothingWithoutIt) {
  testing::writeFile("even.fa",
                     ">even\n" + genome_.substr(0, 30000) + genome_.substr(40000) + "\n");
  ASSERT_EQ(run({"--natural", "-t", "3", "-o", "n", "planted.fa", "even.fa"}), 0) << err_;
  EXPECT_NE(testing::readFile("n/planted/islands.bed"), "");
  EXPECT_EQ(testing::readFile("n/even/islands.bed"), "");
  const std::string summary = testing::readFile("n/summary.tsv");
  EXPECT_NE(summary.find("\tdone\tno islands: the split calls "), std::string::npos) << summary;
  RunRecord record;
  ASSERT_TRUE(RunRecord::read("n/even/natural.run.txt", record));
  EXPECT_EQ(record.get("cutoff"), "none");
  // Windows in record positions, 1-based and inclusive: the first spans 1-5000.
  const std::string windows = testing::readFile("n/planted/natural.tsv");
  EXPECT_EQ(windows.rfind("record\tstart\tend\tscore\nplanted\t1\t5000\t", 0), 0u) << windows;
}

// With the clock frozen at the seed, the dialogue writes the same files.
TEST_F(Batch, TheDialogueWithTheClockAtTheSeedWritesTheSameFiles) {
  ASSERT_EQ(run({"--cutoff", "0.001", "--min-windows", "2", "-o", "out", "planted.fa"}), 0);
  fs::create_directory("dialogue");
  fs::current_path("dialogue");
  console_.seed = 4242;
  std::istringstream in(
      "3 1 3 2000 40 15 500 4000 ../planted.fa 0.001 2 n y 1501 100 30 400 3 2 0.05");
  std::ostringstream out;
  DialoguePhases phases(out, console_);
  int status = 0;
  {
    testing::CapturedOutput quiet;
    status = runDialogue(in, out, console_, phases);
  }
  ASSERT_EQ(status, 0) << out.str();
  fs::current_path("..");
  EXPECT_NE(testing::readFile("dialogue/KL-refinement-Islands.txt"), "");
  EXPECT_EQ(results("dialogue"), results("out/planted"));
}

// Two genomes of one name get folders of their own; a folder that holds results is kept
// unless --force replaces them (a failed genome among good ones: cli_test.py).
TEST_F(Batch, SameNamesGetTheirOwnFoldersAndAFolderIsNotReusedByAccident) {
  ASSERT_EQ(run({"-o", "out", "planted.fa", "planted.fa"}), 0) << err_;
  const std::string before = testing::readFile("out/planted/KL-first.txt");
  EXPECT_EQ(testing::readFile("out/planted_2/KL-first.txt"), before);
  EXPECT_EQ(run({"-o", "out", "planted.fa"}), 2);
  EXPECT_EQ(err_,
            "morvale-run: the folder out already holds results; use --force to replace "
            "them, or another --out\n");
  EXPECT_EQ(testing::readFile("out/planted/KL-first.txt"), before);
  EXPECT_EQ(run({"-o", "out", "--force", "--no-refine", "planted.fa"}), 0);
  EXPECT_FALSE(testing::fileExists("out/planted/KL-refinement.txt"));
}

// A GenBank file (gzip) carries its genes into the tables and the page; the same
// genes from a GFF3 beside the FASTA give the same genes table.
TEST_F(Batch, AnnotatedGenomesNameTheGenesOfTheirIslands) {
  std::string genBank =
      "LOCUS       planted  65000 bp    DNA     linear   BCT 01-JAN-2026\n"
      "VERSION     planted.1\nFEATURES             Location/Qualifiers\n"
      "     CDS             complement(31001..32200)\n"
      "                     /locus_tag=\"P1\"\n"
      "                     /product=\"IS21 family\n"
      "                     transposase\"\n"
      "     tRNA            29001..29076\n                     /locus_tag=\"P2\"\n"
      "ORIGIN\n";
  for (std::size_t i = 0; i < genome_.size(); i += 60)
    genBank += "  " + genome_.substr(i, 60) + "\n";
  genBank += "//\n";
  gzip("planted.gbk.gz", genBank);
  testing::writeFile("planted.gff3",
                     "##gff-version 3\nplanted.1\tt\tCDS\t31001\t32200\t.\t-\t.\t"
                     "ID=a;locus_tag=P1;product=IS21 family transposase\n"
                     "planted.1\tt\ttRNA\t29001\t29076\t.\t+\t.\tID=b;locus_tag=P2\n");
  testing::writeFile("p.fa", ">planted.1\n" + genome_ + "\n");
  ASSERT_EQ(run({"--no-refine", "-o", "gb", "planted.gbk.gz"}), 0) << err_;
  ASSERT_EQ(run({"--no-refine", "--annotation", "planted.gff3", "-o", "gff", "p.fa"}), 0) << err_;
  const std::string genes = testing::readFile("gb/planted/genes.tsv");
  EXPECT_NE(genes.find("\tCDS\tP1\t\tIS21 family transposase\t31001\t32200\t-\tyes\tno\tyes\t"),
            std::string::npos)
      << genes;
  EXPECT_NE(genes.find("\ttRNA\tP2\t\t\t29001\t29076\t+\tno\tyes\t"), std::string::npos);
  EXPECT_EQ(testing::readFile("gff/p/genes.tsv"), genes);
  // morvale-report reads the gzip GenBank file again and finds the same genes.
  const std::string report =
      std::string(MORVALE_REPORT_BIN) +
      " planted.gbk.gz gb/planted/KL-first.txt gb/planted/KL-first-Islands.txt"
      " again > table.txt";
  ASSERT_EQ(std::system(report.c_str()), 0);
  EXPECT_EQ(testing::readFile("again.genes.tsv"), genes);
  EXPECT_NE(testing::readFile("gb/planted/islands.tsv").find("\tP1\tP2\n"), std::string::npos);
  EXPECT_NE(testing::readFile("gb/planted/report.html").find("<a href=\"genes.tsv\">"),
            std::string::npos);
}

// islands.fasta: each island piece with its record's letters as the file has them (case, N,
// other letters and gaps kept), at the table's 1-based positions. With --per-record, records
// of at least --min-record letters get folders of their own and shorter ones are skipped.
TEST_F(Batch, IslandsFastaHoldsTheLettersOfTheFileAndRecordsRunOnTheirOwn) {
  std::string chr = genome_.substr(0, 33000) + "NNNRYNNN-" + genome_.substr(33000);
  for (std::size_t i = 0; i < chr.size(); i += 7) chr[i] = static_cast<char>(std::toupper(chr[i]));
  const std::map<std::string, std::string> text = {
      {"chr", chr}, {"p/2", genome_.substr(25000)}, {"p1", testing::randomDna(3000, 7)}};
  std::string file;
  for (const auto& [name, letters] : text) {
    file += ">" + name + " x\n";
    for (std::size_t i = 0; i < letters.size(); i += 61) file += letters.substr(i, 61) + "\n";
  }
  testing::writeFile("mixed.fa", file);
  gzip("mixed.fa.gz", file);
  for (const char* row :
       {"-o joined mixed.fa|joined/mixed", "-o gz mixed.fa.gz|gz/mixed",
        "--per-record --min-record 20000 -o own mixed.fa|own/mixed/chr own/mixed/p_2"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    std::vector<std::string> args = testing::split("--no-refine " + c[0], ' ');
    ASSERT_EQ(run(args), 0) << err_;
    for (const std::string& folder : testing::split(c[1], ' ')) {
      // The table's rows "island_1\tchr\t200\t300\t..." as ">island_1 chr:200-300\n" and the
      // letters, 60 a line.
      std::string expected;
      for (const std::string& row :
           testing::split(testing::readFile(folder + "/islands.tsv"), '\n')) {
        if (row.rfind("island_", 0) != 0) continue;
        const std::vector<std::string> f = testing::split(row, '\t');
        const std::size_t end = std::stoul(f[3]);
        expected += ">" + f[0] + " " + f[1] + ":" + f[2] + "-" + f[3] + "\n";
        for (std::size_t at = std::stoul(f[2]) - 1; at < end; at += 60)
          expected += text.at(f[1]).substr(at, std::min<std::size_t>(60, end - at)) + "\n";
      }
      EXPECT_NE(expected, "") << folder;
      EXPECT_EQ(testing::readFile(folder + "/islands.fasta"), expected) << folder;
    }
  }
  EXPECT_FALSE(testing::fileExists("own/mixed/p1"));
  EXPECT_NE(
      testing::readFile("joined/summary.tsv")
          .find("\tdone\t3 records scanned as one genome; --per-record scans each on its own\n"),
      std::string::npos);
}

// Two hosts share a planted segment (the second carries it reverse-complemented)
// and the second has one of its own: the shared one is a cluster of both genomes,
// the other stands alone, whatever the genome order; collecting the same genome
// folders as a workflow's jobs gives the same table.
TEST_F(Batch, IslandsAcrossGenomesDoNotDependOnTheGenomeOrder) {
  std::string shared = genome_.substr(30000, 10000);
  std::reverse(shared.begin(), shared.end());
  for (char& c : shared) c = c == 'a' ? 't' : c == 'c' ? 'g' : c == 'g' ? 'c' : 'a';
  testing::writeFile(
      "B.fa", ">b\n" + testing::randomDna(40000, 21) + shared + testing::randomDna(30000, 22) +
                  testing::randomDna(10000, 23, 0.15) + testing::randomDna(30000, 24) + "\n");
  ASSERT_EQ(run({"--no-refine", "-o", "ab", "planted.fa", "B.fa"}), 0) << err_;
  ASSERT_EQ(run({"--no-refine", "-o", "ba", "B.fa", "planted.fa"}), 0) << err_;
  const std::string clusters = testing::readFile("ab/island_clusters.tsv");
  EXPECT_EQ(testing::readFile("ba/island_clusters.tsv"), clusters);
  const std::vector<std::string> lines = testing::split(clusters, '\n');
  EXPECT_EQ(lines[0],
            "cluster\tgenome\trecord\tisland\tstart\tend\tlength\tcluster_size\tcluster_genomes");
  std::string clusterGenome;  // "cluster genome," of each island
  for (std::size_t i = 1; i + 1 < lines.size(); ++i)
    clusterGenome += lines[i].substr(0, lines[i].find('\t', lines[i].find('\t') + 1)) + ",";
  EXPECT_EQ(clusterGenome, "1\tB,1\tplanted,2\tB,") << clusters;
  EXPECT_NE(testing::readFile("ab/index.html").find("<a href=\"B/report.html#island_"),
            std::string::npos);
  for (const std::string name : {"B", "planted"})
    ASSERT_EQ(run({"--no-refine", "--name", name, "--row", "jobs/jobs/" + name + ".tsv", "-o",
                   "jobs", name + ".fa"}),
              0)
        << err_;
  std::ostringstream err;
  ASSERT_EQ(collectSummary("jobs", "", {}, 0, err), 0) << err.str();
  EXPECT_EQ(testing::readFile("jobs/island_clusters.tsv"), clusters);
  EXPECT_NE(testing::readFile("jobs/index.html").find("id=\"presence\""), std::string::npos);
}

}  // namespace
}  // namespace morvale
