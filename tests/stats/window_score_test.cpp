// Window scoring against the literal scorer, and the draw rules.
#include "stats/window_score.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/precondition.h"
#include "kmer/kmer_counts.h"
#include "stats/literal_scorer.h"
#include "test_support.h"

namespace morvale {
namespace {

// A genome of mixed composition and a pool of samples of `w` letters from it.
struct Fixture {
  std::string genome;
  KmerCountTable table;
  SamplePool pool;
  Fixture(int k, int measure, int poolSize, int w) {
    for (int part = 0; part < 8; ++part)
      genome += testing::randomDna(4000, 31 + part, part == 5 ? 0.15 : 0.5);
    buildtree(table, k);
    pool.rows.resize(static_cast<std::size_t>(poolSize));
    std::srand(5);
    for (int j = 0; j < poolSize; ++j) {
      pool.starts.push_back(std::rand() % static_cast<int>(genome.size() - w));
      zerotree(table);
      frequencyother(table, genome.data() + int(pool.starts.back()), w, measure, pool, j);
    }
  }
  Profile window(int start, int w, int measure) {
    Profile p;
    zerotree(table);
    frequencyW(table, genome.data() + start, w, measure, p);
    return p;
  }
};

WindowScore score(const Fixture& f, const Profile& window, long s, long w, int m, int measure,
                  std::vector<int>& drawn) {
  drawn.assign(static_cast<std::size_t>(3 * m), -1);
  drawSamples(f.pool, s, w, 3 * m, drawn.data());
  PoolPairDistances pairs;
  pairs.reset(0);  // not kept: the scorer computes the background pairs itself
  ScoreScratch scratch;
  return scoreDrawnSamples(distanceOf(measure), window, f.pool, drawn.data(), m, pairs, scratch);
}

TEST(WindowScoring, MatchesTheLiteralScorerBitForBitForEveryMeasure) {
  int selected = 0;
  for (int k : {2, 4, 6, 8}) {
    for (int measure = 1; measure <= 6; ++measure) {
      const int w = 1000;
      Fixture f(k, measure, 40, w);
      std::vector<std::vector<double>> dense;
      for (const Profile& row : f.pool.rows) dense.push_back(row.dense());
      PoolPairDistances pairs;  // pairs kept across windows, as a scan keeps them
      pairs.reset(40);
      ScoreScratch scratch;
      for (int start = 0; start + w <= 32000; start += 2500) {
        const Profile window = f.window(start, w, measure);
        const unsigned seed = static_cast<unsigned>(start * 7 + measure);
        std::srand(seed);
        const testing::LiteralScore expected = testing::literalScore(
            keyCount(k), w, 10, start, measure, window.dense(), dense, f.pool.starts);
        const int nextExpected = std::rand();
        std::srand(seed);
        std::vector<int> drawn(30);
        drawSamples(f.pool, start, w, 30, drawn.data());
        ASSERT_EQ(std::rand(), nextExpected) << "different number of draws";
        for (int j = 0; j < 10; ++j) pairs.want(drawn[10 + j], drawn[20 + j]);
        for (std::size_t i = 0; i < pairs.pending().size(); ++i) {
          const auto [a, b] = pairs.pending()[i];
          pairs.fill(i, profileDistance(distanceOf(measure), f.pool.sparse(a), f.pool.sparse(b),
                                        scratch.distance));
        }
        pairs.clearPending();
        const WindowScore got = scoreDrawnSamples(distanceOf(measure), window, f.pool, drawn.data(),
                                                  10, pairs, scratch);
        ASSERT_EQ(std::memcmp(&got.t, &expected.t, sizeof(double)), 0) << k << " " << measure;
        ASSERT_EQ(std::memcmp(&got.p, &expected.p, sizeof(double)), 0) << k << " " << measure;
        selected += got.selected();
      }
    }
  }
  EXPECT_GT(selected, 10);
}

TEST(WindowScoring, DrawsOnlyRowsOutsideTheExclusionZoneAndNeverTheLastRow) {
  const long s = 5000, w = 1000;
  Fixture f(2, 2, 6, 100);
  f.pool.starts = {s - w + 1, s + w - 1, s - w, s + w, 4500, 0};
  const Profile window = f.window(0, 100, 2);
  std::vector<int> drawn;
  std::srand(1);
  score(f, window, s, w, 20, 2, drawn);
  for (int row : drawn) EXPECT_TRUE(row == 2 || row == 3) << row;

  // A pool of two: only row 0 is ever drawn, and every background distance is 0.
  f.pool.starts = {0, s + w - 1};
  f.pool.rows.resize(2);
  score(f, window, s, w, 5, 2, drawn);
  EXPECT_EQ(drawn, std::vector<int>(15, 0));

  // No drawable row outside the zone: drawing is refused before any draw.
  f.pool.starts = {s, s};
  EXPECT_FALSE(anyDrawableRow(f.pool, s, w));
  std::srand(3);
  const int next = std::rand();
  std::srand(3);
  EXPECT_THROW(drawSamples(f.pool, s, w, 3, drawn.data()), PreconditionError);
  EXPECT_EQ(std::rand(), next);
}

TEST(WindowScoring, ARowIsWrittenForTAtLeastZeroAndPAtMostATenth) {
  // t | p | selected
  for (const char* row :
       {"1|0.1|1", "0|0.1|1", "-0.1|1e-9|0", "2|0.100001|0", "nan|0.01|0", "3|nan|0"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    EXPECT_EQ((WindowScore{std::stod(c[0]), std::stod(c[1])}.selected()), c[2] == "1") << row;
  }
}

}  // namespace
}  // namespace morvale
