// Annotated genomes: GenBank, EMBL and GFF3 built here give the same genes per
// island, with their mobility and tRNA marks; what does not fit is warned of or
// refused; a real GenBank file reads without a warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "genome/flat_file.h"
#include "genome/gff3_text.h"
#include "genome/gff_annotation.h"
#include "report/island_genes.h"
#include "report/loaded_run.h"
#include "report/tracks.h"
#include "test_support.h"

namespace morvale::report {
namespace {

using morvale::testing::readFile;
using morvale::testing::writeFile;

// Two records; plasmidB has an N run, so its positions run ahead of its letters. Each row:
// record (0 chrA.1, 1 plasmidB.1)~key~location as GenBank and EMBL write it~the same as
// 1-based inclusive GFF3 segments~GFF3's partial ends as NCBI writes them~and as Prodigal
// does~strand~locus tag~product ("|" where the flat files break a line).
const char* const kFeatures[] = {
    "0~CDS~complement(<101..400)~101-400~;start_range=.,101~;partial=10~-~A1~site-specific|"
    "integrase",
    "0~CDS~join(1001..1200,|1301..>1500)~1001-1200,1301-1500~;end_range=1500,.~;partial=01~+~A2~"
    "DNA-binding|transcriptional regulator",
    "0~tRNA~2101..2176~2101-2176~~~+~A3~tRNA-Leu",
    "0~CDS~<3001..3500~3001-3500~;start_range=.,3001~;partial=10~+~A4~IS3 family transposase",
    "0~mobile_element~4001..4500~4001-4500~~~+~~",
    "0~gene~5001..5300~~~~+~A5~",  // not a type that is read
    "1~CDS~complement(<1..>300)~1-300~;start_range=.,1;end_range=300,.~;partial=11~-~B1~conjugal "
    "transfer|protein TraA",
    "1~tmRNA~1001..1363~1001-1363~~;partial=00~+~B2~transfer-messenger RNA",
    "1~CDS~2101..2400~2101-2400~~~+~B3~hypothetical protein"};
const char* const kNames[] = {"chrA", "plasmidB"};

std::string sequenceOf(int record) {
  if (record == 0) return morvale::testing::randomDna(6000, 11);
  return morvale::testing::randomDna(1500, 12) + std::string(100, 'n') +
         morvale::testing::randomDna(1400, 13);
}

// `prefix` then `text`, with "|" breaking the line to a continuation.
std::string lines(const std::string& prefix, const std::string& text, const std::string& more) {
  std::string out = prefix;
  for (char c : text) out += c == '|' ? "\n" + more : std::string(1, c);
  return out + "\n";
}

std::string flatFile(bool embl) {
  const std::string ft = embl ? "FT   " : "     ";
  std::string text;
  for (int r = 0; r < 2; ++r) {
    const std::string seq = sequenceOf(r);
    text += embl ? "ID   " + std::string(kNames[r]) + "; SV 1; linear; genomic DNA; STD; PRO; " +
                       std::to_string(seq.size()) + " BP.\nXX\nAC   " + kNames[r] +
                       ";\nXX\nFH   Key             Location/Qualifiers\n"
                 : "LOCUS       " + std::string(kNames[r]) + "  " + std::to_string(seq.size()) +
                       " bp    DNA     linear   BCT 01-JAN-2026\nACCESSION   " + kNames[r] +
                       "\nVERSION     " + kNames[r] +
                       ".1\nFEATURES             Location/Qualifiers\n";
    text += ft + "source          1.." + std::to_string(seq.size()) + "\n";
    for (const char* row : kFeatures) {
      const std::vector<std::string> f = morvale::testing::split(row, '~');
      if (std::stoi(f[0]) != r) continue;
      const std::string more = ft + std::string(16, ' ');
      text += lines(ft + f[1] + std::string(16 - f[1].size(), ' '), f[2], more);
      if (!f[7].empty()) text += more + "/locus_tag=\"" + f[7] + "\"\n";
      if (!f[8].empty()) text += lines(more + "/product=\"", f[8] + "\"", more);
    }
    text += embl ? "SQ   Sequence\n" : "ORIGIN\n";
    for (std::size_t i = 0; i < seq.size(); i += 60) {
      text +=
          embl ? "     "
               : std::string(9 - std::to_string(i + 1).size(), ' ') + std::to_string(i + 1) + " ";
      for (std::size_t j = i; j < std::min(seq.size(), i + 60); j += 10)
        text += seq.substr(j, 10) + " ";
      text += "\n";
    }
    text += "//\n";
  }
  return text;
}

// As NCBI writes GFF3, or as Prodigal does (two spaces in its first line).
std::string gff3(bool prodigal = false) {
  std::string text = prodigal ? "##gff-version  3\n" : "##gff-version 3\n";
  int id = 0;
  for (const char* row : kFeatures) {
    std::vector<std::string> f = morvale::testing::split(row, '~');
    std::replace(f[8].begin(), f[8].end(), '|', ' ');
    for (const std::string& segment : morvale::testing::split(f[3], ',')) {
      if (segment.empty()) continue;
      text += std::string(kNames[std::stoi(f[0])]) + ".1\ttest\t" + f[1] + "\t" +
              segment.substr(0, segment.find('-')) + "\t" + segment.substr(segment.find('-') + 1) +
              "\t.\t" + f[6] + "\t.\tID=f" + std::to_string(id) +
              (f[7].empty() ? "" : ";locus_tag=" + f[7]) +
              (f[8].empty() ? "" : ";product=" + f[8]) + f[prodigal ? 5 : 4] + "\n";
    }
    ++id;
  }
  return text +
         "chrZ.1\ttest\tCDS\t1\t90\t.\t+\t.\tID=elsewhere;locus_tag=Z1\n"
         "chrA.1\ttest\tCDS\t5990\t6100\t.\t+\t.\tID=past;locus_tag=A9\n"
         "##FASTA\n>chrA.1\nACGT\n";
}

class Annotated : public morvale::testing::ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    writeFile("g.fa",
              ">chrA.1\n" + sequenceOf(0) + "\n>plasmidB.1 with N\n" + sequenceOf(1) + "\n");
    // Islands in the joined letters (chrA 6000, then plasmidB's 2900 letters).
    writeFile("i.txt", "1 700\n900 1600\n2300 2600\n6050 6200\n7450 7600\n");
    writeFile("s.txt", "");
  }
  // The tables of the run annotated by `annotation`, and the warnings.
  std::string tables(const Annotation& annotation, std::vector<std::string>* warnings = nullptr) {
    LoadedRun in;
    std::string error;
    EXPECT_TRUE(loadInputs("g.fa", "s.txt", "i.txt", in, error)) << error;
    const std::vector<std::string> w = annotate(in, annotation);
    if (warnings) *warnings = w;
    std::ostringstream out;
    writeTable(out, in);
    writeGenes(out, in);
    writeGff3(out, in);
    return out.str();
  }
};

TEST_F(Annotated, GenBankEmblAndGff3GiveTheSameGenesAndMarks) {
  FlatFile genBank;
  FlatFile embl;
  Annotation gff;
  Annotation prodigal;
  std::string error;
  ASSERT_TRUE(readFlatFile(flatFile(false), "t.gb", genBank, error)) << error;
  ASSERT_TRUE(readFlatFile(flatFile(true), "t.embl", embl, error)) << error;
  ASSERT_TRUE(readGff3(gff3(), "t.gff3", gff, error)) << error;
  ASSERT_TRUE(readGff3(gff3(true), "t.gff3", prodigal, error)) << error;
  EXPECT_EQ(genBank.genome.letters, embl.genome.letters);
  ASSERT_EQ(genBank.annotation.features.size(), 8u);
  std::vector<std::string> warnings;
  const std::string expected = tables(genBank.annotation, &warnings);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(tables(embl.annotation), expected);
  EXPECT_EQ(tables(prodigal), expected);
  EXPECT_EQ(tables(gff, &warnings), expected);
  EXPECT_EQ(warnings, (std::vector<std::string>{
                          "feature Z1 (t.gff3 line 11) is on record chrZ.1, which g.fa does not "
                          "have; it is skipped",
                          "feature A9 (t.gff3 line 12) ends at 6100, past the 6000 letters of "
                          "record chrA.1; it is skipped"}));
  // Island by island: the genes overlapped, the mobility genes, the tRNA sites within 2 kbp.
  // Island 5 spans plasmidB's N run, so its piece holds 100 positions more than letters.
  for (const char* row :
       {"island_1\tchrA.1\t1\t700\t700\t", "\t1\tA1\tA3\n", "island_2\tchrA.1\t901\t1600\t700\t",
        "\t1\t-\tA3\n", "island_3\tchrA.1\t2301\t2600\t300\t", "\t0\t-\tA3\n",
        "island_4\tplasmidB.1\t51\t200\t150\t", "\t1\tB1\tB2\n",
        "island_5\tplasmidB.1\t1451\t1700\t250\t", "\t0\t-\tB2\n"})
    EXPECT_NE(expected.find(row), std::string::npos) << row << "\n" << expected;
  EXPECT_NE(expected.find(";genes=1;mobility_genes=B1;trna_sites=B2\n"), std::string::npos);
  // Partial ends, lower (<) and upper (>), whatever the strand.
  for (const char* ends : {"\t<101\t400\t-\t", "\t1001\t>1500\t+\t", "\t<1\t>300\t-\t"})
    EXPECT_NE(expected.find(ends), std::string::npos) << ends << "\n" << expected;
}

TEST_F(Annotated, MobilityAndTrnaMarks) {
  // "kind (c CDS, m mobile element, t tRNA)|gene|product|1 for a mobility gene"
  for (const char* row :
       {"c||tyrosine-type recombinase/integrase|1", "c||IS630 family transposase|1",
        "c||ISL3 element protein|0", "c||IS26 protein|1", "c||phage tail protein|1",
        "c||prophage antirepressor|1", "c|traI|conjugal transfer relaxase TraI|1",
        "c||macrophage infectivity potentiator|0", "c|intA|hypothetical protein|0", "m|||1",
        "t||tRNA-Ser|0"}) {
    const std::vector<std::string> c = morvale::testing::split(row, '|');
    Feature f;
    f.kind = c[0] == "c"   ? FeatureKind::kCds
             : c[0] == "m" ? FeatureKind::kMobileElement
                           : FeatureKind::kTrna;
    f.gene = c[1];
    f.product = c[2];
    EXPECT_EQ(isMobility(f), c[3] == "1") << row;
  }
}

TEST_F(Annotated, FilesThatAreNotWhatTheyClaimAreRefusedWithTheirLine) {
  const std::string genBank = flatFile(false);
  const std::pair<std::string, const char*> cases[] = {
      {genBank.substr(0, genBank.rfind("//")),
       "t line 126: the record plasmidB ends before its \"//\" line (the file is cut short)"},
      {genBank.substr(0, genBank.find("ORIGIN")) + "//\n",
       "t line 1: the record chrA holds no sequence"},
      {"LOCUS x 10 bp\nFEATURES\n     CDS             12..complement\nORIGIN\n 1 acgt\n//\n",
       "t line 3: the location \"12..complement\" of a CDS feature cannot be read"},
      {"hello\n", "t line 1: a record must start with LOCUS (GenBank) or ID (EMBL)"},
  };
  for (const auto& [text, start] : cases) {
    FlatFile flat;
    std::string error;
    EXPECT_FALSE(readFlatFile(text, "t", flat, error));
    EXPECT_EQ(error.rfind(start, 0), 0u) << error;
  }
  Annotation gff;
  std::string error;
  // The first line: any run of blanks before the 3.
  for (const char* first : {"chrA\tx\tCDS\t1\t9", "##gff-version3", "##gff-version 2",
                            "##gff-version", "##gff-version   "}) {
    EXPECT_FALSE(readGff3(first + std::string("\n"), "a.gff", gff, error)) << first;
    EXPECT_EQ(error, "a.gff line 1: a GFF3 file starts with \"##gff-version 3\"");
  }
  for (const char* first : {"##gff-version 3", "##gff-version  3", "##gff-version \t3.1.26"})
    EXPECT_TRUE(readGff3(first + std::string("\n"), "a.gff", gff, error)) << first;
  EXPECT_FALSE(
      readGff3("##gff-version 3\nchrA\tx\tCDS\tten\t20\t.\t+\t.\tID=a\n", "a.gff", gff, error));
  EXPECT_EQ(error.rfind("a.gff line 2: not a GFF3 feature line", 0), 0u);
}

TEST(Locations, PartialMarksOnlyAtTheFeaturesOwnEndsAndPartsElsewhereLeftOut) {
  // "location|0-based end-exclusive segments, then c (complement) < (partial start) > (partial
  // end)", or "location|x" for a location that cannot be read
  for (const char* row :
       {"complement(join(5001..>5005,5010..5020))|5000-5005,5009-5020 c",
        "complement(<1..>300)|0-300 c<>", "join(<1..10,20..>30)|0-10,19-30 <>",
        "join(20..30,<1..10)|0-10,19-30 <", "<5|4-5 <", "(1.5)..(90.99)|0-99 ", "3.7|2-7 ",
        "join(1..10,AB000001.1:1..100)|0-10 ", "complement(AB000001.1:1..100)| c", "10^11| ",
        "12..complement|x", "5..>|x", "9..3|x"}) {
    const std::vector<std::string> c = morvale::testing::split(row, '|');
    Feature f;
    const bool read = readLocation(c[0], f);
    EXPECT_EQ(read, c[1] != "x") << row;
    if (!read) continue;
    std::string got;
    for (const FeatureSegment& s : f.segments)
      got += (got.empty() ? "" : ",") + std::to_string(s.start) + "-" + std::to_string(s.end);
    got += std::string(" ") + (f.complement ? "c" : "") + (f.partialStart ? "<" : "") +
           (f.partialEnd ? ">" : "");
    EXPECT_EQ(got, c[1]) << row;
  }
}

// A byte-order mark and blank lines first, quotes doubled in a value, a feature
// that lies on another entry only.
TEST(FlatFiles, OddButValidTextReadsAsWritten) {
  const std::string text =
      "\xef\xbb\xbf\n  LOCUS       A 20 bp DNA\nFEATURES             Location/Qualifiers\n"
      "     CDS             1..9\n                     /product=\"the \"\"big\"\"\n"
      "                     one\"\n     CDS             B1.1:1..9\n"
      "ORIGIN\n        1 acgtacgtac gtacgtacgt\n//\n";
  FlatFile flat;
  std::string error;
  ASSERT_TRUE(readFlatFile(text, "a.gb", flat, error)) << error;
  EXPECT_EQ(flat.genome.letters, "acgtacgtacgtacgtacgt");
  ASSERT_EQ(flat.annotation.features.size(), 1u);
  EXPECT_EQ(flat.annotation.features[0].product, "the \"big\" one");
  EXPECT_EQ(flat.warnings, std::vector<std::string>{"a.gb line 7: the CDS feature at B1.1:1..9 "
                                                    "lies only on another entry; it is skipped"});
}

// What the tracks escape, the reader decodes: seqids and attribute values.
TEST(Gff3Text, EscapedTextReadsBackAsItWas) {
  const std::string text = "a;b=c&d,e%f\tg\nh\ri\x01j\x7f k<\"\xc3\xa9";
  EXPECT_EQ(gff3Escaped(text, Gff3Column::kAttributeValue),
            "a%3Bb%3Dc%26d%2Ce%25f%09g%0Ah%0Di%01j%7F k<\"\xc3\xa9");
  EXPECT_EQ(gff3Escaped("chr_1.2:x|y-z a#", Gff3Column::kSeqid), "chr_1.2:x|y-z%20a%23");
  Annotation gff;
  std::string error;
  const std::string line =
      "##gff-version 3\n" + gff3Escaped("c;1 " + text, Gff3Column::kSeqid) +
      "\tt\tCDS\t1\t9\t.\t+\t.\tID=x;locus_tag=" + gff3Escaped(text, Gff3Column::kAttributeValue) +
      "\n";
  ASSERT_TRUE(readGff3(line, "a.gff3", gff, error)) << error;
  ASSERT_EQ(gff.features.size(), 1u);
  EXPECT_EQ(gff.features[0].record, "c;1 " + text);
  EXPECT_EQ(gff.features[0].locusTag, text);
}

// Two contigs of a public draft genome, from Debian's any2fasta-examples (GPL-3).
TEST_F(Annotated, ARealGenBankFileReadsWithoutAWarning) {
  FlatFile flat;
  std::string error;
  ASSERT_TRUE(readFlatFile(readFile(MORVALE_TEST_DATA "/leptospira_two_contigs.gbk"), "lep.gbk",
                           flat, error))
      << error;
  ASSERT_EQ(flat.genome.records.size(), 2u);
  EXPECT_EQ(flat.genome.records[0].name, "NZ_AHMY02000043.1");
  EXPECT_EQ(flat.genome.records[0].length, 2457);
  EXPECT_EQ(flat.genome.records[1].length, 1426);
  EXPECT_EQ(placeFeatures(flat.annotation, flat.genome, "lep.gbk"), std::vector<std::string>{});
  ASSERT_FALSE(flat.annotation.features.empty());
  const Feature& first = flat.annotation.features[0];
  EXPECT_EQ(first.locusTag, "LEP1GSC081_RS217290");
  EXPECT_TRUE(first.complement && first.partialStart);
  EXPECT_TRUE(isMobility(first));  // a transposase
}

}  // namespace
}  // namespace morvale::report
