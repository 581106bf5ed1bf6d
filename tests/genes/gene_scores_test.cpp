// Gene-level evidence: the coding sequences and what is counted from them, the
// three measures on hand-computed cases, the robust z, the atypical cut, and the
// evidence of an island.
#include "genes/gene_scores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "genes/coding_sequence.h"
#include "genes/island_evidence.h"
#include "genes/robust_z.h"
#include "test_support.h"

namespace morvale {
namespace {

using morvale::testing::split;

// "atg 98*gca taa": the tokens end to end, "N*xyz" for N copies.
std::string spell(const std::string& spec) {
  std::string out;
  for (const std::string& token : split(spec, ' ')) {
    const std::size_t star = token.find('*');
    const int copies = star == std::string::npos ? 1 : std::stoi(token.substr(0, star));
    for (int i = 0; i < copies; ++i) out += token.substr(star == std::string::npos ? 0 : star + 1);
  }
  return out;
}

std::string reverseComplement(std::string s) {
  std::reverse(s.begin(), s.end());
  for (char& c : s) c = c == 'a' ? 't' : c == 't' ? 'a' : c == 'c' ? 'g' : c == 'g' ? 'c' : c;
  return s;
}

TEST(GeneticCode, TableElevenAndItsFamilies) {
  for (const char* row :
       {"atg M", "tga *", "taa *", "tag *", "TGG W", "ata I", "aga R", "ttg L", "Gct A", "tgc C"}) {
    const int codon = codonNumber(row);
    ASSERT_GE(codon, 0) << row;
    EXPECT_EQ(aminoAcidOf(codon), row[4]) << row;
  }
  EXPECT_EQ(codonNumber("gnc"), -1);
  EXPECT_EQ(codonNumber("ac-"), -1);
  std::string families;
  for (char aa : std::string("ACDEFGHIKLMNPQRSTVWY*")) {
    int n = 0;
    for (int c = 0; c < 64; ++c) n += aminoAcidOf(c) == aa;
    families += std::string(1, aa) + std::to_string(n) + " ";
  }
  EXPECT_EQ(families, "A4 C2 D2 E2 F2 G4 H2 I3 K2 L6 M1 N2 P4 Q2 R6 S6 T4 V4 W1 Y2 *3 ");
}

// Each row: the coding sequence | how it lies on its record (f forward, F forward in
// upper case, c complement, j joined: split after its 100th letter by 5 others, < or >
// a partial end) | the counted codons and third positions, or why it is not scored.
TEST(CodingSequences, CodonsCountedInFrameOnBothStrandsAndAcrossJoins) {
  for (const char* row : {
           "atg 98*gca taa|f|gca:98 gc3:0",
           "atg 98*gca taa|F|gca:98 gc3:0",
           "atg 98*gca taa|c|gca:98 gc3:0",
           "atg 98*gca taa|j|gca:98 gc3:0",
           "atg 98*gca taa|jc|gca:98 gc3:0",
           "ttg 98*gcc tag|f|gcc:98 gc3:98",  // start not counted as Leu, stop dropped
           "atg 99*gcc|c|gcc:99 gc3:99",      // no stop: the last codon counts
           "atg 49*aaa nnn 49*ttg taa|c|aaa:49 ttg:49 gc3:49",  // a codon with n skipped
           "atg 98*gca taa|f<|partial: its frame is unknown",
           "atg 98*gca taa|c>|partial: its frame is unknown",
           "atg 97*gca taa|f|shorter than 300 letters",
           "atg 98*gca taa a|f|length not a multiple of 3",
           "atg 48*gca tga 49*gca taa|j|stop codon inside the gene (a pseudogene)",
           "atg 48*gcc anc 49*gcc taa|f|fewer than 98 codons of a, c, g, t",
       }) {
    const std::vector<std::string> c = split(row, '|');
    const std::string coding = spell(c[0]);
    const std::string& layout = c[1];
    const bool complement = layout.find('c') != std::string::npos;
    std::string onRecord = complement ? reverseComplement(coding) : coding;
    Feature f;
    f.complement = complement;
    f.partialStart = layout.find('<') != std::string::npos;
    f.partialEnd = layout.find('>') != std::string::npos;
    const std::int64_t pad = 7;
    const auto length = static_cast<std::int64_t>(coding.size());
    if (layout[0] == 'j') {
      onRecord.insert(100, "ccccc");
      f.segments = {{pad, pad + 100}, {pad + 105, pad + 5 + length}};
    } else {
      f.segments = {{pad, pad + length}};
    }
    std::string letters = std::string(pad, 'g') + onRecord + "ggg";
    if (layout[0] == 'F')
      std::transform(letters.begin(), letters.end(), letters.begin(), ::toupper);
    GeneComposition composition;
    const std::string whyNot =
        countGene(codingSequence(f, letters), f.partialStart || f.partialEnd, composition);
    std::string got = whyNot;
    if (whyNot.empty()) {
      for (int codon = 0; codon < 64; ++codon)
        if (composition.codons[codon])
          got += std::string(1, "acgt"[codon / 16]) + "acgt"[codon / 4 % 4] + "acgt"[codon % 4] +
                 ":" + std::to_string(composition.codons[codon]) + " ";
      got += "gc3:" + std::to_string(composition.gc3Codons);
    }
    EXPECT_EQ(got, c[2]) << row;
  }
  Feature f;
  f.segments = {{1, 7}};
  EXPECT_EQ(codingSequence(f, "gACGTNr"), "acgtnr");
  f.complement = true;
  EXPECT_EQ(codingSequence(f, "gACGTNr"), "nnacgt");
}

GeneComposition codons(const std::string& spec) {
  GeneComposition c;
  const std::string letters = spell(spec);
  for (std::size_t i = 0; i + 3 <= letters.size(); i += 3) ++c.codons[codonNumber(&letters[i])];
  return c;
}

GeneComposition dinucleotides(const std::string& letters) {
  GeneComposition c;
  countDinucleotides(letters, c);
  return c;
}

TEST(CompositionMeasures, HandComputedCodonBiasAndDinucleotideDistance) {
  // Ala: gene 1/2 gcc 1/2 gca, genome all gcc: 1; Lys: gene all aaa, genome half
  // aaa half aag: 1; each weighs 4/10 with Met holding the other 2/10.
  EXPECT_DOUBLE_EQ(codonBias(codons("2*gcc 2*gca 4*aaa 2*atg"), codons("4*gcc 2*aaa 2*aag atg")),
                   0.8);
  EXPECT_DOUBLE_EQ(codonBias(codons("5*gca"), codons("7*gcc")), 2.0);
  EXPECT_DOUBLE_EQ(codonBias(codons("gca gcc aaa"), codons("3*gca 3*gcc 2*aaa")), 0.0);
  // With its reverse complement "aaaa" gives rho*_aa = rho*_tt = 0.5 / 0.25 = 2; "acgt"
  // gives rho*_ac = rho*_cg = rho*_gt = (1/3) / (1/16) = 16/3; the rest are 0.
  EXPECT_DOUBLE_EQ(dinucleotideDistance(dinucleotides("aaaa"), dinucleotides("acgt")), 1.25);
  EXPECT_DOUBLE_EQ(dinucleotideDistance(dinucleotides("AAnAA"), dinucleotides("acgt")), 1.25);
  EXPECT_DOUBLE_EQ(dinucleotideDistance(dinucleotides("ACGT"), dinucleotides("acgt")), 0.0);
}

TEST(RobustZ, MedianMadAndItsFallbacks) {
  EXPECT_DOUBLE_EQ(median({4, 1, 3, 2}), 2.5);
  EXPECT_DOUBLE_EQ(median({}), 0.0);
  // "sample | value | z": MAD 1; MAD 0 with mean deviation 0.8; all equal.
  EXPECT_DOUBLE_EQ(robustZ(100, {1, 2, 3, 4, 100}), 97 / 1.4826);
  EXPECT_DOUBLE_EQ(robustZ(9, {5, 5, 9, 5, 5}), 4 / (1.2533 * 0.8));
  EXPECT_DOUBLE_EQ(robustZ(5, {5, 5, 5}), 0.0);
  // Values 1, 2, 4, 8, 16 by length, given out of order; one neighbour on either side,
  // the window slid inwards at the ends: {1,2,4} for 1, {2,4,8} for 4, {4,8,16} for 16.
  const std::vector<double> z = robustZByLength({16, 4, 1, 8, 2}, {4, 2, 0, 3, 1}, 1);
  EXPECT_DOUBLE_EQ(z[0], 8 / (4 * 1.4826));
  EXPECT_DOUBLE_EQ(z[1], 0.0);
  EXPECT_DOUBLE_EQ(z[2], -1 / 1.4826);
  EXPECT_EQ(robustZByLength({3, 1, 2}, {2, 0, 1}, 50),
            (std::vector<double>{1 / 1.4826, -1 / 1.4826, 0}));
}

TEST(AtypicalCut, TopFractionWithTiesAtTheCutLeftTypical) {
  std::vector<double> tenth{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::vector<double> hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back(i);
  const double none = std::numeric_limits<double>::infinity();
  // "scores, fraction: the cut"
  EXPECT_EQ(atypicalCut(tenth, 0.1), 9);               // one above it
  EXPECT_EQ(atypicalCut(tenth, 0.25), 8);              // 2.5 rounds down: two
  EXPECT_EQ(atypicalCut(hundred, 0.29), 70);           // 0.29 * 100 is 28.999...: still 29
  EXPECT_EQ(atypicalCut({1, 2, 3, 9, 9}, 0.2), 9);     // tied at the cut: neither
  EXPECT_EQ(atypicalCut({4, 4, 4, 4}, 0.5), 4);        // all equal: none
  EXPECT_EQ(atypicalCut({1, 2, 3, 4, 5}, 0.1), none);  // 0.5 rounds down to none
  EXPECT_EQ(atypicalCut({}, 0.5), none);
}

// A genome of 40 genes whose third positions favour g and c, and 4 that favour a
// and t, of 100 to 300 codons.
struct PlantedGenes {
  Annotation annotation;
  std::vector<GenomeRecord> records;
  std::vector<std::string> letters{""};
  std::vector<std::size_t> foreign;
};

PlantedGenes plantedGenes() {
  PlantedGenes p;
  std::mt19937 random(7);
  std::vector<std::string> gcThird, atThird;
  for (int c = 0; c < 64; ++c) {
    if (aminoAcidOf(c) == '*') continue;
    const std::string codon = {"acgt"[c / 16], "acgt"[c / 4 % 4], "acgt"[c % 4]};
    (c % 4 == 1 || c % 4 == 2 ? gcThird : atThird).push_back(codon);
  }
  for (int g = 0; g < 44; ++g) {
    const bool alien = g % 11 == 5;
    std::string gene = "atg";
    const int length = 100 + static_cast<int>(random() % 200);
    for (int i = 0; i < length; ++i) {
      const std::vector<std::string>& usual = alien ? atThird : gcThird;
      const std::vector<std::string>& rare = alien ? gcThird : atThird;
      const std::vector<std::string>& from = random() % 5 == 0 ? rare : usual;
      gene += from[random() % from.size()];
    }
    gene += "taa";
    Feature f;
    f.record = "chr";
    f.segments = {{static_cast<std::int64_t>(p.letters[0].size()),
                   static_cast<std::int64_t>(p.letters[0].size() + gene.size())}};
    if (alien) p.foreign.push_back(p.annotation.features.size());
    p.annotation.features.push_back(f);
    p.letters[0] += gene + "ccgcgatta";
  }
  p.records.push_back({"chr", 0, 0, static_cast<std::int64_t>(p.letters[0].size()), {}});
  return p;
}

TEST(GeneScores, PooledThirdPositionsAndTheGenesLeftOut) {
  const std::string a = spell("atg 98*gcc taa");
  const std::string b = spell("atg 196*aaa taa");
  Annotation annotation;
  const auto at = [](std::int64_t start, std::int64_t end) {
    Feature f;
    f.record = "chr";
    f.segments = {{start, end}};
    return f;
  };
  annotation.features = {at(0, 300), at(300, 894), at(894, 970), at(0, 300), at(0, 300)};
  annotation.features[2].kind = FeatureKind::kTrna;
  annotation.features[3].record = "elsewhere";
  annotation.features[4].partialEnd = true;
  const std::vector<GenomeRecord> records{{"chr", 0, 970, 970, {}}};
  const GeneScores s = scoreGenes(annotation, records, {a + b + std::string(76, 'g')});
  ASSERT_EQ(s.genes.size(), 4u);
  EXPECT_EQ(s.scoredGenes, 2u);
  EXPECT_DOUBLE_EQ(s.genomeGc3, 98.0 / 294.0);
  EXPECT_EQ(s.genes[1].gc3, 0.0);
  EXPECT_EQ(s.genes[2].feature, 3u);
  EXPECT_EQ(s.genes[2].whyNot, "not on the genome's records");
  EXPECT_EQ(s.genes[3].whyNot, "partial: its frame is unknown");
  EXPECT_EQ(geneScoreOf(s, 2), nullptr);
  EXPECT_EQ(geneScoreOf(s, 4), &s.genes[3]);
}

TEST(GeneScores, GenesOfAnotherUsageAreTheAtypicalOnes) {
  const PlantedGenes p = plantedGenes();
  const GeneScores s = scoreGenes(p.annotation, p.records, p.letters, {0.1, 10});
  EXPECT_EQ(s.scoredGenes, 44u);
  std::vector<std::size_t> atypical;
  for (const GeneScore& g : s.genes) {
    if (!g.atypical) continue;
    atypical.push_back(g.feature);
    EXPECT_LT(g.zGc3, -3.0);  // poor in g and c: far below, and counted
  }
  EXPECT_EQ(atypical, p.foreign);
  EXPECT_EQ(s.atypicalGenes, 4u);
}

TEST(IslandEvidence, CountsFractionMedianAndThirdPositions) {
  GeneScores s;
  s.genomeGc3 = 0.5;
  const auto gene = [](std::size_t feature, bool scored, bool atypical, double score,
                       std::uint64_t codons, std::uint64_t gc3) {
    GeneScore g;
    g.feature = feature;
    g.scored = scored;
    g.atypical = atypical;
    g.atypicality = score;
    g.codons = codons;
    g.gc3Codons = gc3;
    return g;
  };
  s.genes = {gene(0, true, true, 2.0, 100, 80), gene(2, true, false, 0.5, 100, 40),
             gene(3, false, false, 0, 0, 0), gene(5, true, true, 3.0, 200, 200)};
  // "features|genes scored atypical fraction median GC3 deviation|atypical features"
  for (const char* row : {"0,1,2,3,4,5|4 3 2 0.666667 2 30|0,5", "1,3,4|1 0 0 0 0 0|",
                          "2|1 1 0 0 0.5 -10|", "0,2|2 2 1 0.5 1.25 10|0"}) {
    const std::vector<std::string> c = split(row, '|');
    std::vector<std::size_t> features;
    for (const std::string& f : split(c[0], ',')) features.push_back(std::stoul(f));
    const IslandEvidence e = islandEvidence(features, s);
    char got[200];
    std::snprintf(got, sizeof got, "%zu %zu %zu %g %g %g", e.genes, e.scoredGenes, e.atypicalGenes,
                  e.atypicalFraction, e.medianAtypicality, e.gc3Deviation);
    std::string list;
    for (std::size_t f : e.atypical) list += (list.empty() ? "" : ",") + std::to_string(f);
    EXPECT_EQ(std::string(got) + "|" + list, c[1] + "|" + c[2]) << row;
  }
}

}  // namespace
}  // namespace morvale
