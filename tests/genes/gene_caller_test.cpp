// Gene calling through Prodigal: the real program on two records of the example
// genome (skipped without it), and fake ones on PATH that fail, are missing or are
// stopped; none leaves a file, descriptor or child behind.
#include "genes/gene_caller.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "genes/coding_sequence.h"
#include "genome/genome.h"
#include "genome/gff_annotation.h"
#include "genome/record_letters.h"
#include "test_support.h"

namespace morvale {
namespace {

using morvale::testing::fileExists;
using morvale::testing::readFile;
using morvale::testing::writeFile;
namespace fs = std::filesystem;

struct PathSet {  // PATH while it lives
  explicit PathSet(const std::string& path) { setenv("PATH", path.c_str(), 1); }
  ~PathSet() { setenv("PATH", old.c_str(), 1); }
  std::string old = std::getenv("PATH") ? std::getenv("PATH") : "";
};

int leftovers() {
  int n = 0;
  for (const auto& entry : fs::directory_iterator("."))
    n += entry.path().filename().string().rfind(".morvale-genes-", 0) == 0;
  return n;
}

class GeneCalling : public morvale::testing::ScratchDir {
 protected:
  void load(const std::string& fasta) {
    writeFile("g.fa", fasta);
    genome_ = readgenome("g.fa");
    FileByteSource in("g.fa");
    letters_.clear();
    ASSERT_TRUE(readRecordLetters(in, letters_));
  }
  // Into genes.gff3; no temporary file, descriptor or child (running or not) stays.
  GeneCall call(const GeneCallSettings& settings = {}) {
    const auto descriptors = std::distance(fs::directory_iterator("/proc/self/fd"), {});
    const GeneCall done = callGenes(genome_.records, letters_, ".", "genes.gff3", settings);
    EXPECT_EQ(leftovers(), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator("/proc/self/fd"), {}), descriptors);
    siginfo_t info{};
    EXPECT_TRUE(waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD);
    return done;
  }
  Genome genome_;
  std::vector<std::string> letters_;
};

TEST_F(GeneCalling, ProdigalsGenesLieWhereTheRecordsPositionsSay) {
  if (prodigalVersion().error == kProdigalMissing) GTEST_SKIP() << "prodigal is not on PATH";
  const std::string example =
      readFile(MORVALE_TEST_DATA "/../../data/ecoli300k_with_inserts.fasta");
  std::string dna;
  for (std::size_t at = example.find('\n'); dna.size() < 70000; ++at)
    if (example[at] != '\n') dna += example[at];
  // The second record, partly lower case, holds n and gap signs, which Prodigal
  // would skip were they not written as n.
  std::string second = dna.substr(40000);
  second.insert(10000, "NNNNN--*..");
  for (std::size_t i = 0; i < 5000; ++i) second[i] = static_cast<char>(std::tolower(second[i]));
  load(">chrA.1 first\n" + dna.substr(0, 40000) + "\n>plasmid_2\n" + second + "\n");
  const GeneCall done = call();
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.version.find_first_not_of("0123456789."), std::string::npos) << done.version;
  Annotation genes;
  std::string error;
  ASSERT_TRUE(readGff3(readFile("genes.gff3"), "genes.gff3", genes, error)) << error;
  EXPECT_EQ(placeFeatures(genes, genome_, "g.fa"), std::vector<std::string>{});
  int complete[2] = {0, 0};
  int partial = 0;
  for (const Feature& f : genes.features) {
    const std::size_t r = f.record == "chrA.1" ? 0 : 1;
    if (f.partialStart || f.partialEnd) {  // running off the lower end, or the upper
      ++partial;
      EXPECT_TRUE(!f.partialStart || f.start() < 3) << f.line;
      EXPECT_TRUE(!f.partialEnd || f.end() > static_cast<std::int64_t>(letters_[r].size()) - 3);
      continue;
    }
    const std::string coding = codingSequence(f, letters_[r]);
    EXPECT_NE(std::string("atg gtg ttg").find(coding.substr(0, 3)), std::string::npos) << f.line;
    EXPECT_EQ(aminoAcidOf(codonNumber(&coding[coding.size() - 3])), '*') << f.line;
    ++complete[r];
  }
  EXPECT_TRUE(complete[0] > 20 && complete[1] > 15 && partial > 0);
  // Under 20,000 letters Prodigal refuses, and says so.
  fs::remove("genes.gff3");
  load(">short\n" + dna.substr(0, 5000) + "\n");
  const std::string refused = call().error;
  EXPECT_EQ(refused.rfind("prodigal failed with exit status ", 0), 0u) << refused;
  EXPECT_NE(refused.find("Sequence must be 20000 characters"), std::string::npos) << refused;
  EXPECT_FALSE(fileExists("genes.gff3"));
}

TEST_F(GeneCalling, FailuresAndStopsAreOneLineAndLeaveNoFile) {
  load(">a\nacgtacgtac\n");
  const std::string v = "echo 'Prodigal V9.9: test' >&2";
  // "-v body ('' for the one above)|run body ($4 is the GFF)|stop asked (s: the third time
  // while the FASTA exists, f: once ./stopped does)|the error|the version"
  for (const char* row : {
           "|printf '##gff-version  3\\n' > \"$4\"|||9.9",
           "|echo junk > \"$4\"; echo 'Error:  planted   failure' >&2; echo '(a hint)' >&2; exit 3"
           "||prodigal failed with exit status 3: Error: planted failure|9.9",
           "|echo 'last words' >&2; kill -9 $$||prodigal was ended by signal 9: last words|9.9",
           "|exit 4||prodigal failed with exit status 4 and no message|9.9",
           "echo hello|||prodigal -v did not name a Prodigal version (it wrote \"hello\")|",
           "exit 2|||prodigal -v failed with exit status 2 and no message|",
           "|exec /bin/sleep 30|s|interrupted|9.9",
           // A Ctrl-C at a terminal ends Prodigal too; a grandchild holds the pipe, so
           // the end is seen before the stop.
           "|/bin/sleep 1 & : > stopped; kill -INT $$|f|interrupted|9.9",
       }) {
    const std::vector<std::string> c = morvale::testing::split(row, '|');
    fs::create_directories("bin");
    writeFile("bin/prodigal", "#!/bin/sh\nif [ \"$1\" = -v ]; then\n" + (c[0].empty() ? v : c[0]) +
                                  "\nexit 0\nfi\n" + c[1] + "\n");
    chmod("bin/prodigal", 0755);
    PathSet path(dir_ + "/bin");
    int asked = 0;
    GeneCallSettings settings;
    if (c[2] == "s") settings.stopAsked = [&asked] { return leftovers() > 0 && ++asked == 3; };
    if (c[2] == "f") settings.stopAsked = [] { return fileExists("stopped"); };
    const GeneCall done = call(settings);
    EXPECT_EQ(done.error + "|" + done.version, c[3] + "|" + c[4]) << row;
    EXPECT_EQ(fileExists("genes.gff3") ? readFile("genes.gff3") : "",
              done.error.empty() ? "##gff-version  3\n" : "");
    if (done.error.empty()) {  // as any file written here
      EXPECT_EQ(fs::status("genes.gff3").permissions(), fs::status("g.fa").permissions());
    }
    fs::remove("genes.gff3");
  }
  {
    PathSet path(dir_ + "/empty");
    EXPECT_EQ(call().error, kProdigalMissing);
  }
  load("acgtacgt\n");  // no header: no name for Prodigal's genes to carry
  EXPECT_EQ(call().error,
            "Genes cannot be called on record 1: it has no name (a FASTA header) "
            "for the genes to name");
  letters_.push_back("acgt");
  EXPECT_EQ(call().error,
            "Genes cannot be called: the letters of 2 records were read for a "
            "genome of 1");
  load(">a%41\nacgt\n");
  EXPECT_EQ(call().error,
            "Genes cannot be called on record a%41: GFF3 would read its name "
            "otherwise (it holds %XX)");
}

}  // namespace
}  // namespace morvale
