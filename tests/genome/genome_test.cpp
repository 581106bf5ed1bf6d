// Reading genome files: the byte rules, the records and their own positions, the
// files that are refused, and the checksum.
#include "genome/genome.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "genome/letters_checksum.h"
#include "genome/record_letters.h"
#include "test_support.h"

namespace morvale {
namespace {

using GenomeInput = testing::ScratchDir;

TEST_F(GenomeInput, KeepsAcgtInEitherCaseAndSkipsHeadersAndEverythingElse) {
  // "file content|letters read"
  for (const char* row :
       {"ACGT\nacgt\n|acgtacgt", ">seq one\r\nAC-GT\r\nNNNN\n>second ACGT\nT|acgtt",
        "AC>GT in header\nTT|actt", "acg\n>last header without line end|acg",
        "\n\n12345\nAC GT\n\n0099\ng\xff"
        "c\n|acgtgc",
        "|", "NNNN\n|"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    testing::writeFile("g.fa", c[0]);
    const Genome g = readgenome("g.fa");
    EXPECT_EQ(g.status, GenomeStatus::kOk) << c[0];
    EXPECT_EQ(g.letters, c[1]) << c[0];
    EXPECT_EQ(g.length, static_cast<std::int64_t>(c[1].size()));
  }
}

// Every genome letter maps back to the same letter of its record in the file; a
// record is named by the first word of its header, blanks after the > passed over.
TEST_F(GenomeInput, RecordsKeepTheirNamesAndOwnPositions) {
  const std::string file =
      "ACGT\n> chr1 first one\nacNNgt\nNNa\n>\tplasmid_2\nttt-ga\n>empty\n\n>chr3\n"
      "nnnnACGT";
  testing::writeFile("g.fa", file);
  const Genome g = readgenome("g.fa");
  ASSERT_EQ(g.letters, "acgtacgtatttgaacgt");
  // "name|start|end in the joined letters|length in the file|the record's letters in the file"
  const char* const expected[] = {"|0|4|4|ACGT", "chr1|4|9|9|acNNgtNNa", "plasmid_2|9|14|6|ttt-ga",
                                  "empty|14|14|0|", "chr3|14|18|8|nnnnACGT"};
  ASSERT_EQ(g.records.size(), 5u);
  for (std::size_t r = 0; r < 5; ++r) {
    const GenomeRecord& rec = g.records[r];
    const std::vector<std::string> e = testing::split(expected[r], '|');
    EXPECT_EQ(rec.name + "|" + std::to_string(rec.joinedStart) + "|" +
                  std::to_string(rec.joinedEnd) + "|" + std::to_string(rec.length) + "|" + e[4],
              expected[r]);
    for (std::int64_t at = rec.joinedStart; at < rec.joinedEnd; ++at) {
      const char inFile = e[4][static_cast<std::size_t>(recordPosition(rec, at))];
      EXPECT_EQ(std::tolower(inFile), g.letters[static_cast<std::size_t>(at)]) << rec.name << at;
    }
  }
}

TEST_F(GenomeInput, FilesThatAreNotPlainSequenceAreRefusedByName) {
  std::filesystem::create_directory("dir.fa");
  testing::writeFile("g.fa.gz", std::string("\x1f\x8b\x08\x00 acgt", 9));
  testing::writeFile("g.gb", "LOCUS       NC_001416  48502 bp DNA\nORIGIN\n 1 gggcggcgac\n//\n");
  testing::writeFile("g.embl", "ID   X; SV 1; linear; DNA\nSQ   Sequence\n acgt\n//\n");
  testing::writeFile("g.bin", std::string("ACGT\0\x01", 6));
  // "file|GenomeStatus as a number|error line"
  for (const char* row :
       {"missing.fa|1|Cannot open genome file missing.fa: No such file or directory",
        "dir.fa|6|Cannot read genome file dir.fa: Is a directory",
        "g.fa.gz|2|Genome file g.fa.gz is gzip-compressed; decompress it first (gunzip) and give "
        "the plain file",
        "g.gb|3|Genome file g.gb is a GenBank flat file, not plain sequence; convert it to FASTA "
        "first",
        "g.embl|4|Genome file g.embl is an EMBL flat file, not plain sequence; convert it to FASTA "
        "first",
        "g.bin|5|Genome file g.bin holds binary data, not a plain-text sequence"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    const Genome g = readgenome(c[0]);
    EXPECT_EQ(std::to_string(static_cast<int>(g.status)) + "|" + genomeErrorText(g, c[0]),
              c[1] + "|" + c[2]);
  }
  testing::writeFile("g.fa", ">h\nACGTACGTAC\n");
  EXPECT_EQ(readgenome("g.fa", 10).status, GenomeStatus::kTooShort);
  EXPECT_EQ(readgenome("g.fa", 9).letters, "acgtacgtac");
}

// Flat files after a byte-order mark, blank lines or spaces; where a header starts
// inside a line; record names two records share.
TEST_F(GenomeInput, FlatFilesAfterAMarkHeadersInsideLinesAndSharedNames) {
  // "content|GenomeStatus as a number|line of a header inside a line|the start of
  // duplicateRecordProblem's line"
  for (const char* row :
       {"\xef\xbb\xbfLOCUS       X 4 bp\n|3|0|", "\n\r\n   LOCUS       X\n|3|0|",
        "\xef\xbb\xbf\n ID   X; SV 1\n|4|0|", "\xef\xbb\xbf>a\nACGT\n  >b\nAC\n|0|0|",
        ">a\nACGT\n>b x>y\nAC>a\nGT>c\n|0|4|g.fa: two records are named a; ",
        "AC\n>\nG\n>\nT|0|0|g.fa: two records are without a name; "}) {
    const std::vector<std::string> c = testing::split(row, '|');
    testing::writeFile("g.fa", c[0]);
    const Genome g = readgenome("g.fa");
    EXPECT_EQ(std::to_string(static_cast<int>(g.status)) + "|" + std::to_string(g.headerInsideLine),
              c[1] + "|" + c[2])
        << c[0];
    const std::string problem = duplicateRecordProblem(g, "g.fa");
    EXPECT_EQ(c[3].empty() ? problem.size() : problem.rfind(c[3], 0), 0u) << c[0];
  }
}

// Each record's letters as the file has them, position for position with the
// records the readers map (a FASTA file's lengths checked against readGenomeFrom).
TEST(RecordLetters, KeepTheFileLettersOfEveryRecord) {
  // "file|the letters of each record"
  for (const char* row :
       {">a x\r\nAcgN-\n\n>b\nTT.*\n>empty\n|AcgN-|TT.*|", "\xef\xbb\xbf acg>b y\nN1 n\n|acg|Nn",
        "\n \xef\xbb\xbfLOCUS x\n|LOCUSx",  // a mark not at the start: plain sequence
        "\xef\xbb\xbf\n  LOCUS a 5 bp\nSQ   not here\nORIGIN\n  1 acgnR\n//\n"
        "ID   b; SV 1\nSQ   Sequence 6 BP;\n     AC-*gt   6\n//\n|acgnR|AC-*gt"}) {
    std::vector<std::string> expected = testing::split(row, '|');
    const std::string file = expected[0];
    expected.erase(expected.begin());
    TextByteSource in(file);
    std::vector<std::string> letters;
    ASSERT_TRUE(readRecordLetters(in, letters));
    EXPECT_EQ(letters, expected) << file;
    TextByteSource again(file);
    const Genome g = readGenomeFrom(again);
    if (g.status != GenomeStatus::kOk) continue;
    ASSERT_EQ(g.records.size(), letters.size()) << file;
    for (std::size_t r = 0; r < letters.size(); ++r)
      EXPECT_EQ(g.records[r].length, static_cast<std::int64_t>(letters[r].size())) << file;
  }
}

TEST(LettersChecksum, IsTheMd5OfTheLetters) {
  EXPECT_EQ(lettersChecksum(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(lettersChecksum("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(lettersChecksum(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(lettersChecksum(std::string(1000, 'a')), "cabe45dcc9ae5b66ba86600cca6b8ba8");
}

}  // namespace
}  // namespace morvale
