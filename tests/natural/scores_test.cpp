// The natural scan's scores: word counts on both strands between context breaks,
// the interpolated model against hand-computed probabilities (the word's own
// occurrence left out or not), the windows, their scores against the definition
// summed word by word, sliding counts against counts made afresh, thread counts.
#include <gtest/gtest.h>

#include <cmath>

#include "genome/byte_source.h"
#include "natural/natural_scan.h"
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

GenomeCounts countsOf(const Genome& g) {
  WorkerPool one(1);
  return countGenome(g, contextBreaks(g), one);
}

std::string reverseComplement(std::string w) {
  for (char& c : w) c = "tgca"[std::string("acgt").find(c)];
  return std::string(w.rbegin(), w.rend());
}

TEST(WordCounts, CountBothStrandsAndNoWordAcrossARunOrRecord) {
  const GenomeCounts n = countsOf(genomeOf(">a\nacgNNacg\n>b\nacg\n"));  // acg|acg|acg
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
  const GenomeCounts n = countsOf(genomeOf(">x\naacg\n"));
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
  const GenomeCounts genome = countsOf(g);
  WindowCounts window;
  countWords(window, g.letters, contextBreaks(g), WordSpan{0, 3000, 3000, 0}, 1);
  LeaveOneOutModel model;
  model.prepare(window);
  const std::vector<double> inverse = genomeInverseTable(genome);
  for (std::size_t at = 0; at + 8 <= g.letters.size(); ++at) {
    const std::uint32_t w = key(g.letters.substr(at, 8));
    ASSERT_EQ(model.probability(w), nextLetterProbability(window, w, 7, true)) << at;
    ASSERT_EQ(inverse[w], 1.0 / nextLetterProbability(genome, w, 7, false)) << at;
  }
}

TEST(NaturalWindows, StepThroughEachRecordAndEndOneAtItsEnd) {
  // record lengths | window | step | windows (records joined end to end)
  for (const char* row : {"7500|5000|1000|0-5000 1000-6000 2000-7000 2500-7500",
                          "7000|5000|1000|0-5000 1000-6000 2000-7000", "5000|5000|1000|0-5000",
                          "4999 5000|5000|1000|4999-9999",  // the short record has none
                          "900 400|300|700|0-300 600-900 900-1200 1000-1300"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    std::string fasta;
    int r = 0;
    for (const std::string& n : testing::split(c[0], ' '))
      fasta += ">r" + std::to_string(r++) + "\n" + testing::randomDna(std::stoul(n), 1) + "\n";
    std::string got;
    for (const ScoredWindow& w :
         naturalWindows(genomeOf(fasta), {std::stoi(c[1]), std::stoi(c[2])}))
      got += (got.empty() ? "" : " ") + std::to_string(w.start) + "-" + std::to_string(w.end);
    EXPECT_EQ(got, c[3]) << row;
  }
}

TEST(WindowScores, AreTheMeanLogRatioOverTheWordsOfEachWindowWhenSlid) {
  // Three records, one with a run too short for a word, windows of 300 every 70.
  const Genome g = genomeOf(
      ">a\n" + testing::randomDna(2000, 3) + "NNacgtaN" + testing::randomDna(1500, 4, 0.3) +
      "\n>b\n" + testing::randomDna(900, 5, 0.6) + "\n>c\n" + testing::randomDna(400, 6));
  const NaturalSettings settings{300, 70, 1000};
  WorkerPool one(1);
  const std::optional<std::vector<ScoredWindow>> scores = scoreWindows(g, settings, one);
  ASSERT_TRUE(scores && scores->size() == naturalWindows(g, settings).size());
  std::vector<int> run(g.letters.size());  // the run of each letter
  int runs = 0;
  for (const GenomeRecord& r : g.records)
    for (const RecordRun& u : r.runs) {
      for (std::int64_t i = 0; i < u.length; ++i) run[u.joinedStart + i] = runs;
      ++runs;
    }
  const std::vector<std::int64_t> breaks = contextBreaks(g);
  const GenomeCounts genome = countsOf(g);
  const std::vector<double> inverse = genomeInverseTable(genome);
  for (const ScoredWindow& w : *scores) {
    WindowCounts fresh;
    countWords(fresh, g.letters, breaks, WordSpan{w.start, w.end, w.end, w.start}, 1);
    LeaveOneOutModel model;
    model.prepare(fresh);
    std::int64_t words = 0;
    // Slid counts score as counts made afresh, bit for bit.
    ASSERT_EQ(w.score, scoreWindow(g.letters, breaks, w.start, w.end, inverse, model, words));
    double sum = 0;
    int n = 0;
    for (std::int64_t p = w.start; p + 8 <= w.end; ++p) {
      if (run[p] != run[p + 7]) continue;
      const std::string word = g.letters.substr(p, 8);
      for (const std::string& x : {word, reverseComplement(word)})
        sum += std::log(nextLetterProbability(fresh, key(x), 7, true)) -
               std::log(nextLetterProbability(genome, key(x), 7, false));
      n += 2;
    }
    EXPECT_NEAR(w.score, sum / n, 1e-12) << w.start;
  }
}

TEST(WindowScores, AreTheSameBytesOnAnyNumberOfThreads) {
  const Genome g = genomeOf(">p\n" + testing::plantedGenome());
  WorkerPool one(1), three(3);
  const auto a = scoreWindows(g, {300, 70, 1000}, one);
  const auto b = scoreWindows(g, {300, 70, 1000}, three);
  ASSERT_TRUE(a && b && a->size() == b->size() && a->size() > 900);
  for (std::size_t i = 0; i < a->size(); ++i) ASSERT_EQ((*a)[i].score, (*b)[i].score) << i;
}

TEST(NaturalScan, FindsAPlantedSegmentStopsWhenAskedAndRefusesBadSettings) {
  WorkerPool two(2);
  const NaturalScan planted = runNaturalScan(genomeOf(">p\n" + testing::plantedGenome()), {}, two);
  ASSERT_EQ(planted.islands.size(), 1u) << planted.cutoff.noIslandsReason;
  EXPECT_NEAR(planted.islands[0].first, 30000, 1000);
  EXPECT_NEAR(planted.islands[0].second, 40000, 1000);
  const Genome even = genomeOf(">e\n" + testing::randomDna(200000, 8));
  EXPECT_FALSE(runNaturalScan(even, {}, two).cutoff.islandsCalled);
  EXPECT_EQ(runNaturalScan(even, {}, two, [] { return true; }).status, NaturalStatus::kInterrupted);
  EXPECT_EQ(runNaturalScan(even, {7, 1, 0}, two).status, NaturalStatus::kFailed);
}

}  // namespace
}  // namespace morvale::natural
