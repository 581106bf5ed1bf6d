#include "kmer/kmer_tree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "kmer/literal_tree.h"
#include "kmer/rand.h"
#include "test_support.h"

namespace morvale {
namespace {

Profile profileOf(const std::string& s, int k, int measure) {
  KmerTree tree;
  buildtree(tree, k);
  zerotree(tree);
  Profile p;
  frequencyW(tree, s.data(), static_cast<int>(s.size()), measure, p);
  return p;
}

TEST(KmerProfile, MatchesTheLiteralTreeBitForBitForEveryKAndMeasure) {
  for (int k = 1; k <= kMaxTupleSize; ++k) {
    testing::LiteralTree literal(k);
    KmerTree tree;
    buildtree(tree, k);
    const int cases = k >= 7 ? 3 : 8;
    for (int c = 0; c < cases; ++c) {
      const std::size_t length = k + (k >= 7 ? 5 + 9 * c : 37 * c);
      const std::string s = testing::randomDna(length, 100 * k + c, c % 2 ? 0.2 : 0.5);
      for (int measure = 1; measure <= 6; ++measure) {
        const std::vector<double> expected = literal.profile(s, measure);
        zerotree(tree);
        Profile fast;
        frequencyW(tree, s.data(), static_cast<int>(s.size()), measure, fast);
        ASSERT_EQ(
            std::memcmp(fast.values.data(), expected.data(), expected.size() * sizeof(double)), 0)
            << "k=" << k << " measure=" << measure << " s=" << s;
        std::vector<std::uint32_t> nonZero;
        for (std::uint32_t i = 0; i < expected.size(); ++i)
          if (expected[i] != 0.0) nonZero.push_back(i);
        ASSERT_EQ(fast.keys, nonZero);
      }
    }
  }
}

TEST(KmerProfile, KnownProfiles) {
  char key[9];
  std::string order;
  for (int i = 0; i < 16; ++i) calculateKey(key, i, 2), order += std::string(key) + " ";
  EXPECT_EQ(order, "aa ca ga ta ac cc gc tc ag cg gg tg at ct gt tt ");
  calculateKey(key, 6, 3);
  EXPECT_STREQ(key, "gca");
  calculateKey(key, 63, 3);
  EXPECT_STREQ(key, "ttt");

  for (int measure : {1, 4}) {
    const Profile p = profileOf("acgta", 2, measure);
    const double v = measure == 1 ? 0.5 : 0.25;
    EXPECT_EQ(p.keys, (std::vector<std::uint32_t>{3, 4, 9, 14}));
    for (std::uint32_t key : p.keys) EXPECT_EQ(p.values[key], v);
  }
  const Profile exact = profileOf("gattaca", 7, 5);
  ASSERT_EQ(exact.keys.size(), 1u);
  EXPECT_EQ(exact.values[exact.keys[0]], 1.0);
  EXPECT_EQ(profileOf("gattaca", 7, 2).values[exact.keys[0]], 2.0);
  // k = 1 under the Markov model: every position bumps every prefix and suffix.
  const Profile one = profileOf("aacgt", 1, 6);
  EXPECT_EQ(one.values[0], 2.0 * 2 / ((1 + 5) * 5));
}

TEST(KmerProfile, PoolRowsKeepTheirStartAndRebuildingChangesNothing) {
  KmerTree tree;
  buildtree(tree, 3);
  buildtree(tree, 3);
  EXPECT_EQ(tree.keys, 64);
  SamplePool pool;
  pool.allocate(2, tree.keys);
  pool.row(1)[0] = 4242.0;
  zerotree(tree);
  frequencyother(tree, "acgtacgt", 8, 4, pool, 1);
  EXPECT_EQ(pool.row(1)[0], 4242.0);
  EXPECT_EQ(
      std::memcmp(pool.profile(1), profileOf("acgtacgt", 3, 4).values.data(), 64 * sizeof(double)),
      0);
}

TEST(SampleDraw, WrapsLikeThirtyTwoBitArithmetic) {
  for (long long r : {0LL, 1LL, 17318416LL, 17318417LL, 1000000000LL, 2147483647LL}) {
    const long long wrapped = (r * 124) % 4294967296LL;
    EXPECT_EQ(wrappedTimes124(static_cast<int>(r)),
              wrapped >= 2147483648LL ? wrapped - 4294967296LL : wrapped)
        << r;
  }
  std::srand(99);
  const int first = std::rand();
  std::srand(99);
  EXPECT_EQ(Rand(1000), static_cast<std::int64_t>(wrappedTimes124(first)) % 1000);
}

}  // namespace
}  // namespace morvale
