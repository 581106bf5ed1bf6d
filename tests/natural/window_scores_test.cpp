// The windows of the natural scan, their scores against the definition summed word
// by word, sliding counts against counts made afresh, and thread counts.
#include "natural/window_scores.h"

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

std::string reverseComplement(std::string w) {
  for (char& c : w) c = "tgca"[std::string("acgt").find(c)];
  return std::string(w.rbegin(), w.rend());
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

// Three records, one with a run too short for a word, windows of 300 every 70.
struct SmallScan : ::testing::Test {
  const Genome g = genomeOf(
      ">a\n" + testing::randomDna(2000, 3) + "NNacgtaN" + testing::randomDna(1500, 4, 0.3) +
      "\n>b\n" + testing::randomDna(900, 5, 0.6) + "\n>c\n" + testing::randomDna(400, 6));
  const NaturalSettings settings{300, 70, 1000};
};

TEST_F(SmallScan, ScoresAreTheMeanLogRatioOverTheWordsOfEachWindow) {
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
  const GenomeCounts genome = countGenome(g, breaks, one);
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
