// Gene calling through Prodigal: the real program on two records of the example
// genome (skipped without it), and fake ones on PATH that fail, are missing or are
// stopped; nothing is left behind in any case.
#include "genes/gene_caller.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "genes/coding_sequence.h"
#include "genome/byte_source.h"
#include "genome/genome.h"
#include "genome/gff_annotation.h"
#include "genome/record_letters.h"
#include "test_support.h"

namespace morvale {
namespace {

using morvale::testing::fileExists;
using morvale::testing::readFile;
using morvale::testing::writeFile;

// PATH set to `path` while this lives.
class PathSet {
 public:
  explicit PathSet(const std::string& path) : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", path.c_str(), 1);
  }
  ~PathSet() { setenv("PATH", old_.c_str(), 1); }

 private:
  std::string old_;
};

int openDescriptors() {
  int n = 0;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd");
       it != std::filesystem::directory_iterator(); ++it)
    ++n;
  return n;
}

// True when this process has a child, running or ended and not reaped (it is left so).
bool childLeft() {
  siginfo_t info{};
  return !(waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD);
}

class GeneCalling : public morvale::testing::ScratchDir {
 protected:
  // The genome of FASTA `text`, written to g.fa, with its records' letters.
  void load(const std::string& text) {
    writeFile("g.fa", text);
    genome_ = readgenome("g.fa");
    FileByteSource in("g.fa");
    letters_.clear();
    ASSERT_TRUE(readRecordLetters(in, letters_));
  }
  // Calls the genes into genes.gff3 and checks that it leaves no temporary file,
  // descriptor or child behind.
  GeneCall call(const GeneCallSettings& settings = {}) {
    const int descriptors = openDescriptors();
    const GeneCall done = callGenes(genome_.records, letters_, ".", "genes.gff3", settings);
    EXPECT_EQ(leftovers(), 0);
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_FALSE(childLeft());
    return done;
  }
  static int leftovers() {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator("."))
      n += entry.path().filename().string().rfind(".morvale-genes-", 0) == 0;
    return n;
  }
  // A fake prodigal in bin/: `version` runs for -v, `run` otherwise ($4 is the GFF).
  std::string fake(const std::string& version, const std::string& run) {
    std::filesystem::create_directories("bin");
    writeFile("bin/prodigal",
              "#!/bin/sh\nif [ \"$1\" = -v ]; then\n" + version + "\nexit 0\nfi\n" + run + "\n");
    chmod("bin/prodigal", 0755);
    return dir_ + "/bin";
  }
  Genome genome_;
  std::vector<std::string> letters_;
};

TEST_F(GeneCalling, ProdigalsGenesLieWhereTheRecordsPositionsSay) {
  if (prodigalVersion().error == kProdigalMissing) GTEST_SKIP() << "prodigal is not on PATH";
  const std::string example =
      readFile(MORVALE_TEST_DATA "/../../data/ecoli300k_with_inserts.fasta");
  std::string sequence;
  for (std::size_t at = example.find('\n'); at < example.size() && sequence.size() < 70000; ++at)
    if (example[at] != '\n') sequence += example[at];
  // The second record has n and gap signs, which Prodigal would skip were they not
  // written as n, and lower case.
  std::string second = sequence.substr(40000);
  second.insert(10000, "NNNNN--*..");
  for (std::size_t i = 0; i < 5000; ++i) second[i] = static_cast<char>(std::tolower(second[i]));
  load(">chrA.1 first\n" + sequence.substr(0, 40000) + "\n>plasmid_2\n" + second + "\n");
  const GeneCall done = call();
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.version.find_first_not_of("0123456789."), std::string::npos) << done.version;
  Annotation genes;
  std::string error;
  FileByteSource gff("genes.gff3");
  ASSERT_TRUE(readGff3(gff, "genes.gff3", genes, error)) << error;
  EXPECT_EQ(placeFeatures(genes, genome_, "g.fa"), std::vector<std::string>{});
  int complete[2] = {0, 0};
  int partial = 0;
  for (const Feature& f : genes.features) {
    const std::size_t r = f.record == "chrA.1" ? 0 : 1;
    const auto length = static_cast<std::int64_t>(letters_[r].size());
    if (f.partialStart || f.partialEnd) {
      ++partial;  // runs off the lower end, or the upper
      EXPECT_TRUE(!f.partialStart || f.start() < 3) << f.line;
      EXPECT_TRUE(!f.partialEnd || f.end() > length - 3) << f.line;
      continue;
    }
    const std::string coding = codingSequence(f, letters_[r]);
    const std::string start = coding.substr(0, 3);
    EXPECT_TRUE(start == "atg" || start == "gtg" || start == "ttg") << f.line << " " << coding;
    EXPECT_EQ(aminoAcidOf(codonNumber(&coding[coding.size() - 3])), '*') << f.line;
    ++complete[r];
  }
  EXPECT_GT(complete[0], 20);
  EXPECT_GT(complete[1], 15);
  EXPECT_GT(partial, 0);

  // Under 20,000 letters Prodigal refuses, and says so.
  load(">short\n" + sequence.substr(0, 5000) + "\n");
  std::filesystem::remove("genes.gff3");
  const std::string refused = call().error;
  EXPECT_EQ(refused.rfind("prodigal failed with exit status ", 0), 0u) << refused;
  EXPECT_NE(refused.find("Sequence must be 20000 characters"), std::string::npos) << refused;
  EXPECT_FALSE(fileExists("genes.gff3"));
}

TEST_F(GeneCalling, FailuresAreOneLineAndLeaveNoFile) {
  load(">a\nacgtacgtac\n");
  const std::string v = "echo 'Prodigal V9.9: test' >&2";
  // "-v body|run body|the error|the version"
  const char* const rows[][4] = {
      {"", "printf '##gff-version  3\\n' > \"$4\"", "", "9.9"},
      {"", "echo junk > \"$4\"; echo 'Error:  planted   failure' >&2; echo '(a hint)' >&2; exit 3",
       "prodigal failed with exit status 3: Error: planted failure", "9.9"},
      {"", "echo 'last words' >&2; kill -9 $$", "prodigal was ended by signal 9: last words",
       "9.9"},
      {"", "exit 4", "prodigal failed with exit status 4 and no message", "9.9"},
      {"echo hello", "", "prodigal -v did not name a Prodigal version (it wrote \"hello\")", ""},
      {"exit 2", "", "prodigal -v failed with exit status 2 and no message", ""},
  };
  for (const auto& row : rows) {
    PathSet path(fake(*row[0] ? row[0] : v, row[1]));
    const GeneCall done = call();
    EXPECT_EQ(done.error, row[2]) << row[1];
    EXPECT_EQ(done.version, row[3]) << row[1];
    EXPECT_EQ(fileExists("genes.gff3"), done.error.empty()) << row[1];
    if (done.error.empty()) {
      EXPECT_EQ(readFile("genes.gff3"), "##gff-version  3\n");
    }
    std::filesystem::remove("genes.gff3");
  }
  {
    std::filesystem::create_directories("empty");
    PathSet path(dir_ + "/empty");
    EXPECT_EQ(call().error, kProdigalMissing);
  }
  load("acgtacgt\n");  // no header: no name for Prodigal's genes to carry
  EXPECT_EQ(call().error,
            "Genes cannot be called on record 1: it has no name (a FASTA header) for the genes to "
            "name");
  load(">a%41\nacgt\n");
  EXPECT_EQ(call().error,
            "Genes cannot be called on record a%41: GFF3 would read its name otherwise (it holds "
            "%XX)");
  EXPECT_FALSE(fileExists("genes.gff3"));
}

TEST_F(GeneCalling, AStopEndsProdigalAndLeavesNothing) {
  load(">a\nacgtacgtac\n");
  {
    PathSet path(fake("echo 'Prodigal V9.9: test' >&2", "exec /bin/sleep 30"));
    int asked = 0;
    GeneCallSettings settings;
    // Asked while the FASTA exists, that is while Prodigal runs: the third time, stop.
    settings.stopAsked = [&asked] { return leftovers() > 0 && ++asked == 3; };
    EXPECT_EQ(call(settings).error, "interrupted");
    EXPECT_EQ(asked, 3);
  }
  // A Ctrl-C at a terminal ends Prodigal as well as asking the stop (a grandchild
  // holds the pipe, so the end is seen before the stop).
  PathSet path(fake("echo 'Prodigal V9.9: test' >&2", "/bin/sleep 1 & : > stopped; kill -INT $$"));
  GeneCallSettings settings;
  settings.stopAsked = [] { return fileExists("stopped"); };
  EXPECT_EQ(call(settings).error, "interrupted");
  EXPECT_FALSE(fileExists("genes.gff3"));
}

}  // namespace
}  // namespace morvale
