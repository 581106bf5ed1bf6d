#include "stats/window_score.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "islands/result_files.h"
#include "stats/literal_scorer.h"
#include "stats/ttest.h"
#include "test_support.h"

namespace morvale {
namespace {

// A genome of mixed composition, a pool and window profiles drawn from it.
struct Fixture {
  std::string genome;
  KmerTree tree;
  SamplePool pool;
  std::vector<double*> poolRows;
  Fixture(int k, int measure, int poolSize, int w) {
    for (int part = 0; part < 8; ++part)
      genome += testing::randomDna(4000, 31 + part, part == 5 ? 0.15 : 0.5);
    buildtree(tree, k);
    pool.allocate(poolSize, tree.keys);
    std::srand(5);
    for (int j = 0; j < poolSize; ++j) {
      const int start = std::rand() % static_cast<int>(genome.size() - w);
      pool.row(j)[0] = start;
      zerotree(tree);
      frequencyother(tree, genome.data() + start, w, measure, pool, j);
      poolRows.push_back(pool.row(j));
    }
  }
  Profile window(int start, int w, int measure) {
    Profile p;
    zerotree(tree);
    frequencyW(tree, genome.data() + start, w, measure, p);
    return p;
  }
};

using WindowScoring = testing::ScratchDir;

TEST_F(WindowScoring, MatchesTheLiteralScorerForEveryMeasure) {
  int written = 0;
  int skipped = 0;
  for (int k : {2, 4, 6}) {
    for (int measure = 1; measure <= 6; ++measure) {
      const int w = 1000;
      Fixture f(k, measure, 40, w);
      ScoreWorkspace ws;
      ws.pairs.reset(40);
      for (int start = 0; start + w <= 32000; start += 1500) {
        Profile window = f.window(start, w, measure);
        double* windowRows[1] = {window.values.data()};
        const unsigned seed = static_cast<unsigned>(start * 7 + measure);
        std::srand(seed);
        const std::string expected = testing::literalScore(
            k, w, 10, start + w / 2.0, start, measure, windowRows, f.poolRows.data(), 40);
        const int nextExpected = std::rand();
        std::remove("scores.txt");
        std::srand(seed);
        scoreWindow(k, w, 10, ws, start + w / 2.0, start, measure, window, f.pool, 40,
                    "scores.txt");
        ASSERT_EQ(std::rand(), nextExpected) << "different number of draws";
        ASSERT_EQ(testing::readFile("scores.txt"), expected) << k << " " << measure << " " << start;
        (expected.empty() ? skipped : written)++;
      }
    }
  }
  EXPECT_GT(written, 10);
  EXPECT_GT(skipped, 10);
}

TEST_F(WindowScoring, DrawsOnlyRowsOutsideTheExclusionZoneAndNeverTheLastRow) {
  const long s = 5000;
  const long w = 1000;
  Fixture f(2, 2, 6, 100);
  const double starts[] = {s - w + 1, s + w - 1, s - w, s + w, 4500, 0};
  for (int j = 0; j < 6; ++j) f.pool.row(j)[0] = starts[j];
  ScoreWorkspace ws;
  ws.pairs.reset(6);
  const Profile window = f.window(0, 100, 2);
  std::srand(1);
  scoreWindow(2, w, 20, ws, 5500, s, 2, window, f.pool, 6, "scores.txt");
  for (int row : ws.drawn) EXPECT_TRUE(row == 2 || row == 3) << row;

  // Pool of two: only row 0 is drawn, every background distance is 0.
  f.pool.row(0)[0] = 0;
  ws.pairs.reset(2);
  scoreWindow(2, w, 5, ws, 5500, s, 2, window, f.pool, 2, "scores.txt");
  for (int row : ws.drawn) EXPECT_EQ(row, 0);
  for (double d : ws.backgroundDistances) EXPECT_EQ(d, 0.0);

  // No drawable row outside the zone: the window is skipped without drawing.
  for (int j = 0; j < 5; ++j) f.pool.row(j)[0] = s;
  std::srand(3);
  const int next = std::rand();
  std::srand(3);
  EXPECT_EQ(scoreWindow(2, w, 5, ws, 5500, s, 2, window, f.pool, 6, "scores.txt"),
            ScoreOutcome::kNoAcceptableSample);
  EXPECT_EQ(std::rand(), next);
}

TEST_F(WindowScoring, MarkovAndPlainMeasuresScoreIdenticalProfilesAlike) {
  Fixture f(3, 1, 30, 800);
  const Profile window = f.window(20000, 800, 1);  // the low-GC stretch
  for (int measure = 1; measure <= 3; ++measure) {
    std::string rows[2];
    for (int markov = 0; markov < 2; ++markov) {
      ScoreWorkspace ws;
      ws.pairs.reset(30);
      std::srand(11);
      std::remove("scores.txt");
      scoreWindow(3, 800, 8, ws, 20400, 20000, measure + 3 * markov, window, f.pool, 30,
                  "scores.txt");
      rows[markov] = testing::readFile("scores.txt");
    }
    EXPECT_EQ(rows[0], rows[1]);
    EXPECT_FALSE(rows[0].empty()) << measure;
  }
}

TEST(Distances, BoundedKullbackLeiblerTerms) {
  const Distance kl = Distance::kKullbackLeibler;
  EXPECT_EQ(distanceTerm(kl, 0.3, 0.3), 0.0);
  EXPECT_EQ(distanceTerm(kl, 0.5, 0.0), 0.5 * std::log(1000.0));
  EXPECT_EQ(distanceTerm(kl, 1.0, 0.0005), std::log(1000.0) + 0.0005 * std::log(0.001));
  EXPECT_EQ(distanceTerm(kl, 0.0, 0.0), 0.0);
  EXPECT_EQ(boundedRatio(1.0, 1000.0), 0.001);
  EXPECT_EQ(boundedRatio(5.0, 0.0), 1000.0);
}

}  // namespace
}  // namespace morvale
