#include "kmer/kmer_counts.h"

#include "base/precondition.h"

namespace morvale {

namespace {

// Counts every k-mer of s (n positions) and marks its key in the bitmap. The key of
// position i+1 drops the first letter (lowest digit) and adds s[i+k] on top.
void countKmers(KmerCountTable& table, const char* s, int n) {
  const int k = table.k;
  const int topShift = 2 * (k - 1);
  const std::uint32_t mask = static_cast<std::uint32_t>(table.keys) - 1;
  std::uint32_t key = 0;
  for (int p = 0; p < k; ++p) key |= letterCode(s[p]) << (2 * p);
  for (int i = 0;; ++i) {
    if (table.count[key]++ == 0) table.counted[key >> 6] |= std::uint64_t{1} << (key & 63);
    if (i + 1 == n) break;
    key = ((key >> 2) | (letterCode(s[i + k]) << topShift)) & mask;
  }
}

// Lists the keys marked in the bitmap, ascending.
void listCounted(KmerCountTable& table) {
  table.countedKeys.clear();
  for (std::size_t w = 0; w < table.counted.size(); ++w) {
    for (std::uint64_t bits = table.counted[w]; bits; bits &= bits - 1)
      table.countedKeys.push_back(static_cast<std::uint32_t>(w * 64 + __builtin_ctzll(bits)));
  }
}

// The first k-1 letters of a key are its low digits; the last k-1 its high digits.
std::uint32_t prefixOf(const KmerCountTable& t, std::uint32_t key) {
  return key & ((static_cast<std::uint32_t>(t.keys) >> 2) - 1);
}
std::uint32_t suffixOf(std::uint32_t key) {
  return key >> 2;
}

// count / divisor in double. Small quotients come from a table filled once with the
// same division, which saves most divisions of a long-k Markov profile.
class Quotients {
 public:
  Quotients() {
    for (int c = 0; c < kCounts; ++c)
      for (int d = 1; d < kDivisors; ++d) table_[c][d] = static_cast<double>(c) / d;
  }
  double operator()(std::int32_t c, std::int32_t d) const {
    return c < kCounts && d < kDivisors ? table_[c][d] : static_cast<double>(c) / d;
  }

 private:
  static constexpr int kCounts = 16;
  static constexpr int kDivisors = 128;
  double table_[kCounts][kDivisors] = {};
};
const Quotients kQuotient;

// Writes the profile of the counted keys.
void writeProfile(KmerCountTable& table, int n, bool markov, Profile& profile) {
  listCounted(table);
  const std::vector<std::uint32_t>& keys = table.countedKeys;
  profile.keySpace = static_cast<std::size_t>(table.keys);
  profile.keys.assign(keys.begin(), keys.end());
  profile.values.resize(keys.size());
  if (!markov) {
    // (count / 1 + count / 1) / n: both quotients are exact, so this is (2 count) / n.
    for (std::size_t i = 0; i < keys.size(); ++i)
      profile.values[i] = 2.0 * table.count[keys[i]] / n;
    return;
  }
  for (std::uint32_t key : keys) {
    table.prefixOcc[prefixOf(table, key)] += table.count[key];
    table.suffixOcc[suffixOf(key)] += table.count[key];
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::uint32_t key = keys[i];
    const std::int32_t count = table.count[key];
    profile.values[i] = (kQuotient(count, 1 + table.prefixOcc[prefixOf(table, key)]) +
                         kQuotient(count, 1 + table.suffixOcc[suffixOf(key)])) /
                        n;
  }
  for (std::uint32_t key : keys) {
    table.prefixOcc[prefixOf(table, key)] = 0;
    table.suffixOcc[suffixOf(key)] = 0;
  }
}

}  // namespace

void buildtree(KmerCountTable& table, int k) {
  require(k >= 1 && k <= kMaxTupleSize, "k-mer length outside 1..8");
  if (table.k == k) return;
  table.k = k;
  table.keys = keyCount(k);
  table.count.assign(static_cast<std::size_t>(table.keys), 0);
  table.prefixOcc.assign(static_cast<std::size_t>(table.keys / 4), 0);
  table.suffixOcc.assign(static_cast<std::size_t>(table.keys / 4), 0);
  table.counted.assign((static_cast<std::size_t>(table.keys) + 63) / 64, 0);
}

void zerotree(KmerCountTable& table) {
  for (std::size_t w = 0; w < table.counted.size(); ++w) {
    for (std::uint64_t bits = table.counted[w]; bits; bits &= bits - 1)
      table.count[w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits))] = 0;
    table.counted[w] = 0;
  }
}

int frequencyW(KmerCountTable& table, const char* s, int len, int measure, Profile& profile) {
  require(table.k >= 1, "profile asked of a count table that was never built");
  require(len >= table.k, "profile asked of a string shorter than k");
  const int n = len - table.k + 1;
  countKmers(table, s, n);
  writeProfile(table, n, usesMarkovModel(measure), profile);
  return 0;
}

int frequencyother(KmerCountTable& table, const char* s, int len, int measure, SamplePool& pool,
                   int j) {
  return frequencyW(table, s, len, measure, pool.rows[static_cast<std::size_t>(j)]);
}

}  // namespace morvale
