// Profiles against the literal tree, known values, and the preconditions.
#include "kmer/kmer_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "base/precondition.h"
#include "kmer/literal_tree.h"
#include "kmer/rand.h"
#include "test_support.h"

namespace morvale {
namespace {

Profile profileOf(const std::string& s, int k, int measure) {
  KmerCountTable table;
  buildtree(table, k);
  Profile p;
  frequencyW(table, s.data(), static_cast<int>(s.size()), measure, p);
  return p;
}

TEST(KmerProfile, MatchesTheLiteralTreeBitForBitForEveryKAndMeasure) {
  for (int k = 1; k <= kMaxTupleSize; ++k) {
    testing::LiteralTree literal(k);
    KmerCountTable table;
    buildtree(table, k);
    const int cases = k >= 7 ? 3 : 8;
    for (int c = 0; c < cases; ++c) {
      const std::size_t length = k + (k >= 7 ? 5 + 9 * c : 37 * c);
      const std::string s = testing::randomDna(length, 100 * k + c, c % 2 ? 0.2 : 0.5);
      for (int measure = 1; measure <= 6; ++measure) {
        const std::vector<double> expected = literal.profile(s, measure);
        zerotree(table);
        Profile fast;
        frequencyW(table, s.data(), static_cast<int>(s.size()), measure, fast);
        const std::vector<double> dense = fast.dense();
        ASSERT_EQ(std::memcmp(dense.data(), expected.data(), expected.size() * sizeof(double)), 0)
            << "k=" << k << " measure=" << measure << " s=" << s;
        std::vector<std::uint32_t> nonZero;
        for (std::uint32_t i = 0; i < expected.size(); ++i)
          if (expected[i] != 0.0) nonZero.push_back(i);
        ASSERT_EQ(fast.keys, nonZero);
      }
    }
  }
}

// Worked values, which the literal tree would share if it shared a mistake.
TEST(KmerProfile, KnownProfiles) {
  for (int measure : {1, 4}) {
    const Profile p = profileOf("acgta", 2, measure);
    EXPECT_EQ(p.keys, (std::vector<std::uint32_t>{3, 4, 9, 14}));
    EXPECT_EQ(p.values, std::vector<double>(4, measure == 1 ? 0.5 : 0.25));
  }
  // k = 1 under the Markov model: every position bumps every prefix and suffix.
  EXPECT_EQ(profileOf("aacgt", 1, 6).values[0], 2.0 * 2 / ((1 + 5) * 5));
}

TEST(KmerProfile, KeysStayAscendingWhenCountsAccumulateWithoutAReset) {
  KmerCountTable table;
  buildtree(table, 4);
  Profile p;
  frequencyW(table, "ttttggggcccc", 12, 1, p);
  frequencyW(table, "aaaaccccgggg", 12, 1, p);
  EXPECT_EQ(std::adjacent_find(p.keys.begin(), p.keys.end(), std::greater_equal<>()), p.keys.end());
}

TEST(KmerProfile, BrokenPreconditionsFailInEveryBuild) {
  KmerCountTable table;
  Profile p;
  EXPECT_THROW(frequencyW(table, "acgt", 4, 1, p), PreconditionError);  // never built
  buildtree(table, 5);
  EXPECT_THROW(frequencyW(table, "acgt", 4, 1, p), PreconditionError);  // shorter than k
  EXPECT_THROW(buildtree(table, 9), PreconditionError);
  EXPECT_THROW(Rand(0), PreconditionError);
}

TEST(SampleDraw, WrapsLikeThirtyTwoBitArithmetic) {
  const int r[] = {0, 1, 17318416, 17318417, 1000000000, 2147483647};
  const int product[] = {0, 124, 2147483584, -2147483588, -554051584, -124};  // modulo 2^32
  for (int i = 0; i < 6; ++i) EXPECT_EQ(wrappedTimes124(r[i]), product[i]) << r[i];
  std::srand(99);
  const int first = std::rand();
  std::srand(99);
  EXPECT_EQ(Rand(1000), static_cast<std::int64_t>(wrappedTimes124(first)) % 1000);
}

}  // namespace
}  // namespace morvale
