// Word counts on both strands between context breaks, and the interpolated model:
// hand-computed probabilities, the word's own occurrence left out, and the tabled
// models against the plain recursion.
#include "natural/order_model.h"

#include <gtest/gtest.h>

#include "genome/byte_source.h"
#include "test_support.h"

namespace morvale::natural {
namespace {

Genome genomeOf(const std::string& fasta) {
  TextByteSource in(fasta);
  return readGenomeFrom(in);
}

std::uint32_t key(const std::string& word) {
  std::uint32_t k = 0;
  for (std::size_t i = word.size(); i-- > 0;) k = k * 4 + std::string("acgt").find(word[i]);
  return k;
}

TEST(WordCounts, CountBothStrandsAndNoWordAcrossARunOrRecord) {
  const Genome g = genomeOf(">a\nacgNNacg\n>b\nacg\n");  // joined: acg|acg|acg
  WorkerPool one(1);
  const GenomeCounts n = countGenome(g, contextBreaks(g), one);
  // word | count (its reverse complement's occurrences included)
  for (const char* row :
       {"a|3", "c|6", "t|3", "acg|3", "cgt|3", "ga|0", "tc|0", "gac|0", "cga|0"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    EXPECT_EQ(n.of(key(c[0]), static_cast<int>(c[0].size())), std::stoll(c[1])) << row;
  }
}

TEST(InterpolatedModel, GivesTheHandComputedProbabilities) {
  // aacg and its reverse complement cgtt: a 2, c 2, g 2, t 2; aa 1, ac 1, cg 2, gt 1,
  // tt 1; aac 1, acg 1, cgt 1, gtt 1.
  const Genome g = genomeOf(">x\naacg\n");
  WorkerPool one(1);
  const GenomeCounts n = countGenome(g, contextBreaks(g), one);
  const struct {
    const char* word;  // P(last letter | the letters before it)
    bool leaveOneOut;
    double p;
  } rows[] = {
      {"a", false, 0.25},
      {"ac", false, 257.0 / 1026},  // (1 + 1024/4) / (2 + 1024)
      {"cg", false, 258.0 / 1026},
      {"ca", false, 256.0 / 1026},  // unseen
      {"acg", false, (1 + 1024 * (258.0 / 1026)) / 1025},
      {"gtt", false, (1 + 1024 * (257.0 / 1026)) / 1025},
      {"ac", true, 256.0 / 1025},   // (0 + 256) / (1 + 1024)
      {"acg", true, 257.0 / 1025},  // (0 + 1024 (1 + 256) / 1025) / (0 + 1024)
  };
  for (const auto& r : rows)
    EXPECT_DOUBLE_EQ(
        nextLetterProbability(n, key(r.word), static_cast<int>(std::string(r.word).size()) - 1,
                              r.leaveOneOut),
        r.p)
        << r.word << " " << r.leaveOneOut;
}

TEST(InterpolatedModel, TablesEqualThePlainRecursionBitForBit) {
  const Genome g = genomeOf(">x\n" + testing::randomDna(3000, 7, 0.4));
  WorkerPool one(1);
  const std::vector<std::int64_t> breaks = contextBreaks(g);
  const GenomeCounts genome = countGenome(g, breaks, one);
  WindowCounts window;
  countWords(window, g.letters, breaks, WordSpan{0, 3000, 3000, 0}, 1);
  LeaveOneOutModel model;
  model.prepare(window);
  const std::vector<double> inverse = genomeInverseTable(genome);
  for (std::size_t at = 0; at + 8 <= g.letters.size(); ++at) {
    const std::uint32_t w = key(g.letters.substr(at, 8));
    ASSERT_EQ(model.probability(w), nextLetterProbability(window, w, 7, true)) << at;
    ASSERT_EQ(inverse[w], 1.0 / nextLetterProbability(genome, w, 7, false)) << at;
  }
}

}  // namespace
}  // namespace morvale::natural
