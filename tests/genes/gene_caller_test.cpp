// Gene calling through Prodigal: fake programs on PATH that fail, are missing or are
// stopped; none leaves a file, descriptor or child behind. (The real one is driven
// through morvale-run in call_genes_test.py.)
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
  load(">a%41\nacgt\n");
  EXPECT_EQ(call().error,
            "Genes cannot be called on record a%41: GFF3 would read its name "
            "otherwise (it holds %XX)");
}

}  // namespace
}  // namespace morvale
