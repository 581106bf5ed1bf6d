// Gene-level evidence: the coding sequences and what is counted from them, the
// three measures on hand-computed cases, the robust z, the atypical cut, and the
// evidence of an island.
#include "genes/gene_scores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <limits>
#include <random>

#include "genes/island_evidence.h"
#include "genes/robust_z.h"
#include "test_support.h"

namespace morvale {
namespace {

using morvale::testing::split;

// "atg 98*gca taa": the tokens end to end, "N*xyz" for N copies.
std::string spell(const std::string& words) {
  std::string out;
  for (const std::string& token : split(words, ' ')) {
    const std::size_t star = token.find('*');
    const int copies = star == std::string::npos ? 1 : std::stoi(token.substr(0, star));
    for (int i = 0; i < copies; ++i) out += token.substr(star == std::string::npos ? 0 : star + 1);
  }
  return out;
}

std::string codonName(int c) {
  return {"acgt"[c / 16], "acgt"[c / 4 % 4], "acgt"[c % 4]};
}

TEST(GeneticCode, TableElevenAndItsFamilies) {
  std::string got;
  for (const char* codon : {"atg", "tga", "ata", "TGG", "aga", "Gct", "gnc", "ac-"})
    got += codonNumber(codon) < 0 ? '-' : aminoAcidOf(codonNumber(codon));
  for (char aa : std::string(" ACDEFGHIKLMNPQRSTVWY*")) {
    int n = 0;
    for (int c = 0; c < 64; ++c) n += aminoAcidOf(c) == aa;
    got += aa + std::to_string(n);
  }
  EXPECT_EQ(got, "M*IWRA-- 0A4C2D2E2F2G4H2I3K2L6M1N2P4Q2R6S6T4V4W1Y2*3");
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
    Feature f;
    f.complement = c[1].find('c') != std::string::npos;
    f.partialStart = c[1].find('<') != std::string::npos;
    f.partialEnd = c[1].find('>') != std::string::npos;
    std::string onRecord = coding;
    if (f.complement) {
      std::reverse(onRecord.begin(), onRecord.end());
      for (char& x : onRecord)
        x = x == 'a' ? 't' : x == 't' ? 'a' : x == 'c' ? 'g' : x == 'g' ? 'c' : x;
    }
    const auto length = static_cast<std::int64_t>(coding.size());
    f.segments = {{7, 7 + length}};
    if (c[1][0] == 'j') {
      onRecord.insert(100, "ccccc");
      f.segments = {{7, 107}, {112, 12 + length}};
    }
    std::string letters = "ggggggg" + onRecord + "ggg";
    if (c[1][0] == 'F') std::transform(letters.begin(), letters.end(), letters.begin(), ::toupper);
    GeneComposition counted;
    std::string got =
        countGene(codingSequence(f, letters), f.partialStart || f.partialEnd, counted);
    if (got.empty()) {
      for (int codon = 0; codon < 64; ++codon)
        if (counted.codons[codon])
          got += codonName(codon) + ":" + std::to_string(counted.codons[codon]) + " ";
      got += "gc3:" + std::to_string(counted.gc3Codons);
    }
    EXPECT_EQ(got, c[2]) << row;
  }
  Feature f;
  f.segments = {{1, 7}};
  EXPECT_EQ(codingSequence(f, "gACGTNr"), "acgtnr");
  f.complement = true;
  EXPECT_EQ(codingSequence(f, "gACGTNr"), "nnacgt");
}

GeneComposition codons(const std::string& words) {
  GeneComposition c;
  const std::string letters = spell(words);
  for (std::size_t i = 0; i < letters.size(); i += 3) ++c.codons[codonNumber(&letters[i])];
  return c;
}

GeneComposition pairs(const std::string& letters) {
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
  EXPECT_DOUBLE_EQ(dinucleotideDistance(pairs("aaaa"), pairs("acgt")), 1.25);
  EXPECT_DOUBLE_EQ(dinucleotideDistance(pairs("AAnAA"), pairs("acgt")), 1.25);
  EXPECT_DOUBLE_EQ(dinucleotideDistance(pairs("ACGT"), pairs("acgt")), 0.0);
}

TEST(RobustZ, MedianMadAndItsFallbacks) {
  EXPECT_DOUBLE_EQ(median({4, 1, 3, 2}), 2.5);
  EXPECT_DOUBLE_EQ(median({}), 0.0);
  EXPECT_DOUBLE_EQ(robustZ(100, {1, 2, 3, 4, 100}), 97 / 1.4826);     // MAD 1
  EXPECT_DOUBLE_EQ(robustZ(9, {5, 5, 9, 5, 5}), 4 / (1.2533 * 0.8));  // MAD 0: mean deviation
  EXPECT_DOUBLE_EQ(robustZ(5, {5, 5, 5}), 0.0);
  // Values 1, 2, 4, 8, 16 by length, given out of order; one neighbour on either side,
  // the window slid inwards at the ends: {1,2,4} for 1, {2,4,8} for 4, {4,8,16} for 16.
  EXPECT_EQ(robustZByLength({16, 4, 1, 8, 2}, {4, 2, 0, 3, 1}, 1)[0], 8 / (4 * 1.4826));
  EXPECT_EQ(robustZByLength({16, 4, 1, 8, 2}, {4, 2, 0, 3, 1}, 1)[2], -1 / 1.4826);
  EXPECT_EQ(robustZByLength({3, 1, 2}, {2, 0, 1}, 50),
            (std::vector<double>{1 / 1.4826, -1 / 1.4826, 0}));
}

TEST(AtypicalCut, TopFractionWithTiesAtTheCutLeftTypical) {
  std::vector<double> hundred(100);
  for (int i = 0; i < 100; ++i) hundred[i] = i;
  EXPECT_EQ(atypicalCut({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0.25), 8);  // 2.5 rounds down: two
  EXPECT_EQ(atypicalCut(hundred, 0.29), 70);        // 0.29 * 100 is 28.999...: still 29
  EXPECT_EQ(atypicalCut({1, 2, 3, 9, 9}, 0.2), 9);  // tied at the cut: neither
  EXPECT_EQ(atypicalCut({4, 4, 4, 4}, 0.5), 4);     // all equal: none
  EXPECT_EQ(atypicalCut({1, 2, 3, 4, 5}, 0.1), std::numeric_limits<double>::infinity());
}

TEST(GeneScores, PooledThirdPositionsAndTheGenesLeftOut) {
  Annotation annotation;
  for (std::int64_t end : {300, 894, 970, 300, 300}) {
    annotation.features.emplace_back();
    annotation.features.back().record = "chr";
    annotation.features.back().segments = {{end == 300 ? 0 : end == 894 ? 300 : 894, end}};
  }
  annotation.features[2].kind = FeatureKind::kTrna;
  annotation.features[3].record = "elsewhere";
  annotation.features[4].partialEnd = true;
  const GeneScores s = scoreGenes(annotation, {{"chr", 0, 970, 970, {}}},
                                  {spell("atg 98*gcc taa atg 196*aaa taa 76*g")});
  ASSERT_EQ(s.genes.size(), 4u);
  EXPECT_EQ(s.scoredGenes, 2u);
  EXPECT_DOUBLE_EQ(s.genomeGc3, 98.0 / 294.0);
  EXPECT_EQ(s.genes[2].whyNot, "not on the genome's records");
  EXPECT_EQ(s.genes[3].whyNot, "partial: its frame is unknown");
  EXPECT_EQ(geneScoreOf(s, 2), nullptr);
  EXPECT_EQ(geneScoreOf(s, 4), &s.genes[3]);
}

// 40 genes of 100 to 300 codons whose third positions favour g and c, and 4 (3, 14,
// 25, 36) that favour a and t, 4 in 5 codons.
TEST(GeneScores, GenesOfAnotherUsageAreTheAtypicalOnes) {
  std::vector<std::string> third[2];  // codons with a or t third, with g or c
  for (int c = 0; c < 64; ++c)
    if (aminoAcidOf(c) != '*') third[c % 4 == 1 || c % 4 == 2].push_back(codonName(c));
  std::mt19937 random(7);
  Annotation annotation;
  std::string letters;
  for (int g = 0; g < 44; ++g) {
    std::string gene = "atg";
    for (int i = 100 + static_cast<int>(random() % 200); i > 0; --i) {
      const std::vector<std::string>& from = third[(g % 11 == 3) == (random() % 5 == 0)];
      gene += from[random() % from.size()];
    }
    annotation.features.emplace_back();
    annotation.features.back().record = "chr";
    annotation.features.back().segments = {
        {static_cast<std::int64_t>(letters.size()),
         static_cast<std::int64_t>(letters.size() + gene.size() + 3)}};
    letters += gene + "taaccgcgatta";
  }
  const GeneScores s =
      scoreGenes(annotation, {{"chr", 0, 0, static_cast<std::int64_t>(letters.size()), {}}},
                 {letters}, {0.1, 10});
  std::vector<std::size_t> atypical;
  for (const GeneScore& g : s.genes) {
    if (!g.atypical) continue;
    atypical.push_back(g.feature);
    EXPECT_LT(g.zGc3, -3.0);  // far below, and counted as far
  }
  EXPECT_EQ(atypical, (std::vector<std::size_t>{3, 14, 25, 36}));
  EXPECT_EQ(s.scoredGenes, 44u);
}

TEST(IslandEvidence, CountsFractionMedianAndThirdPositions) {
  GeneScores s;
  s.genomeGc3 = 0.5;
  // "feature scored atypical atypicality codons gc3Codons"
  for (const char* gene :
       {"0 1 1 2.0 100 80", "2 1 0 0.5 100 40", "3 0 0 0 0 0", "5 1 1 3 200 200"}) {
    GeneScore g;
    int scored = 0, atypical = 0;
    std::sscanf(gene, "%zu %d %d %lf %" SCNu64 " %" SCNu64, &g.feature, &scored, &atypical,
                &g.atypicality, &g.codons, &g.gc3Codons);
    g.scored = scored, g.atypical = atypical;
    s.genes.push_back(g);
  }
  // "features|genes scored atypical fraction median GC3 deviation|atypical features"
  for (const char* row : {"0,1,2,3,4,5|4 3 2 0.666667 2 30|0,5", "1,3,4|1 0 0 0 0 0|",
                          "2|1 1 0 0 0.5 -10|", "0,2|2 2 1 0.5 1.25 10|0"}) {
    const std::vector<std::string> c = split(row, '|');
    std::vector<std::size_t> features;
    for (const std::string& f : split(c[0], ',')) features.push_back(std::stoul(f));
    const IslandEvidence e = islandEvidence(features, s);
    char got[200];
    std::snprintf(got, sizeof got, "%zu %zu %zu %g %g %g|", e.genes, e.scoredGenes, e.atypicalGenes,
                  e.atypicalFraction, e.medianAtypicality, e.gc3Deviation);
    std::string list;
    for (std::size_t f : e.atypical) list += (list.empty() ? "" : ",") + std::to_string(f);
    EXPECT_EQ(got + list, c[1] + "|" + c[2]) << row;
  }
}

}  // namespace
}  // namespace morvale
