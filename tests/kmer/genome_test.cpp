#include "kmer/genome.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace morvale {
namespace {

using GenomeInput = testing::ScratchDir;

TEST_F(GenomeInput, KeepsAcgtInEitherCaseAndSkipsHeadersAndEverythingElse) {
  struct Case {
    const char* content;
    const char* letters;
  } cases[] = {
      {"ACGT\nacgt\n", "acgtacgt"},
      {">seq one\r\nAC-GT\r\nNNNN\n>second ACGT\nT", "acgtt"},
      {"AC>GT in header\nTT", "actt"},
      {"acg\n>last header without line end", "acg"},
      {"\n\n12345\nAC GT\n\n0099\ng\xff"
       "c\n",
       "acgtgc"},
      {"", ""},
      {"NNNN\n", ""},
  };
  for (const Case& c : cases) {
    testing::writeFile("g.fa", c.content);
    const Genome g = readgenome("g.fa");
    EXPECT_EQ(g.status, GenomeStatus::kOk) << c.content;
    EXPECT_EQ(g.letters, c.letters) << c.content;
    EXPECT_EQ(g.length, static_cast<std::int64_t>(std::string(c.letters).size()));
  }
}

TEST_F(GenomeInput, ReadsALargeWrappedMultiRecordFileExactly) {
  const std::string dna = testing::randomDna(3000000, 7);
  std::string file;
  for (std::size_t i = 0; i < dna.size(); i += 70) {
    if (i % 700000 == 0) file += ">record " + std::to_string(i) + " ACGT\n";
    std::string line = dna.substr(i, 70);
    if (i % 140 == 0)
      for (char& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    file += line + "\r\n";
  }
  testing::writeFile("big.fa", file);
  const Genome g = readgenome("big.fa");
  EXPECT_EQ(g.length, 3000000);
  EXPECT_TRUE(g.letters == dna);
}

TEST_F(GenomeInput, ReportsFilesItCannotUse) {
  Genome g = readgenome("missing.fa");
  EXPECT_EQ(g.status, GenomeStatus::kCannotOpen);
  EXPECT_EQ(genomeErrorText(g, "missing.fa"),
            "Cannot open genome file missing.fa: No such file or directory");

  testing::writeFile("g.fa.gz", std::string("\x1f\x8b\x08\x00 acgt", 9));
  g = readgenome("g.fa.gz");
  EXPECT_EQ(g.status, GenomeStatus::kCompressed);
  EXPECT_NE(genomeErrorText(g, "g.fa.gz").find("gzip-compressed"), std::string::npos);

  g = readgenome(".");
  EXPECT_EQ(g.status, GenomeStatus::kReadError);
  EXPECT_EQ(genomeErrorText(g, "."), "Cannot read genome file .: Is a directory");
}

TEST_F(GenomeInput, StopsBeforeStoringWhenTheGenomeIsTooShort) {
  testing::writeFile("g.fa", ">h\nACGTACGTAC\n");
  EXPECT_EQ(readgenome("g.fa", 10).status, GenomeStatus::kTooShort);
  EXPECT_EQ(readgenome("g.fa", 10).length, 10);
  EXPECT_EQ(readgenome("g.fa", 9).letters, "acgtacgtac");
}

}  // namespace
}  // namespace morvale
