#include "kmer/kmer_tree.h"

#include <cassert>
#include <cmath>

namespace morvale {

namespace {

// 2-bit code of a genome letter; the genome string holds only a, c, g, t.
struct BaseTable {
  std::uint8_t code[256] = {};
  BaseTable() {
    const char* letters[4] = {"aA", "cC", "gG", "tT"};
    for (std::uint8_t v = 0; v < 4; ++v)
      for (int i = 0; i < 2; ++i) code[static_cast<unsigned char>(letters[v][i])] = v;
  }
};
const BaseTable kBase;

// Counts every k-mer of s into tree.count and marks it in tree.touched. The key of
// position i+1 drops the first letter (lowest digit) and adds s[i+k] on top.
void countKmers(KmerTree& tree, const char* s, int n) {
  const int k = tree.k;
  const int topShift = 2 * (k - 1);
  const std::uint32_t mask = static_cast<std::uint32_t>(tree.keys) - 1;
  std::uint32_t key = 0;
  for (int p = 0; p < k; ++p)
    key |= std::uint32_t{kBase.code[static_cast<unsigned char>(s[p])]} << (2 * p);
  for (int i = 0;; ++i) {
    if (tree.count[key]++ == 0) tree.touched[key >> 6] |= std::uint64_t{1} << (key & 63);
    if (i + 1 == n) break;
    const std::uint32_t next = kBase.code[static_cast<unsigned char>(s[i + k])];
    key = ((key >> 2) | (next << topShift)) & mask;
  }
}

// Moves the keys marked in the bitmap, ascending, onto the end of touchedKeys.
void listTouched(KmerTree& tree) {
  for (std::size_t w = 0; w < tree.touched.size(); ++w) {
    std::uint64_t bits = tree.touched[w];
    tree.touched[w] = 0;
    while (bits) {
      tree.touchedKeys.push_back(static_cast<std::uint32_t>(w * 64 + __builtin_ctzll(bits)));
      bits &= bits - 1;
    }
  }
}

// The first k-1 letters of a key are its low digits; the last k-1 its high digits.
std::uint32_t prefixOf(const KmerTree& t, std::uint32_t key) {
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

// Markov values of the listed keys: (count / prefixCount + count / suffixCount) / n.
void markovValues(KmerTree& tree, int n, double* values, double* packed) {
  for (std::uint32_t key : tree.touchedKeys) {
    tree.prefixOcc[prefixOf(tree, key)] += tree.count[key];
    tree.suffixOcc[suffixOf(key)] += tree.count[key];
  }
  for (std::size_t i = 0; i < tree.touchedKeys.size(); ++i) {
    const std::uint32_t key = tree.touchedKeys[i];
    const std::int32_t count = tree.count[key];
    packed[i] = values[key] = (kQuotient(count, 1 + tree.prefixOcc[prefixOf(tree, key)]) +
                               kQuotient(count, 1 + tree.suffixOcc[suffixOf(key)])) /
                              n;
  }
  for (std::uint32_t key : tree.touchedKeys) {
    tree.prefixOcc[prefixOf(tree, key)] = 0;
    tree.suffixOcc[suffixOf(key)] = 0;
  }
}

// Writes the value of every key into values[0..4^k), which holds a profile whose
// non-zero keys are `keys` (all other values 0), and replaces `keys` and `packed`
// with the new non-zero keys and values. Only the keys that change are touched.
void treeprint(KmerTree& tree, int n, bool markov, double* values, std::vector<std::uint32_t>& keys,
               std::vector<double>& packed) {
  listTouched(tree);
  for (std::uint32_t key : keys) values[key] = 0.0;
  keys = tree.touchedKeys;
  packed.resize(keys.size());
  if (markov) {
    markovValues(tree, n, values, packed.data());
    return;
  }
  // (count / 1 + count / 1) / n: both quotients are exact, so this is (2 count) / n.
  for (std::size_t i = 0; i < keys.size(); ++i) {
    packed[i] = values[keys[i]] = 2.0 * tree.count[keys[i]] / n;
  }
}

int positions(const KmerTree& tree, int len) {
  const int n = len - tree.k + 1;
  // A string shorter than k has no k-mer; every value would be 0/n. The console's
  // ranges (window size at least k) keep such strings away.
  assert(n > 0 && "profile of a string shorter than k");
  return n;
}

}  // namespace

int keyCount(int k) {
  return static_cast<int>(std::pow(4.0, k));
}

void calculateKey(char* buffer, int index, int k) {
  static const char kLetters[4] = {'a', 'c', 'g', 't'};
  for (int p = 0; p < k; ++p) {
    buffer[p] = kLetters[index % 4];
    index /= 4;
  }
  buffer[k] = '\0';
}

void SamplePool::allocate(int rowCount, int keys4k) {
  rows = rowCount;
  keyCount = keys4k;
  data.assign(static_cast<std::size_t>(rowCount) * (keys4k + 1), 0.0);
  keys.resize(static_cast<std::size_t>(rowCount));
  packed.resize(static_cast<std::size_t>(rowCount));
  for (auto& rowKeys : keys) rowKeys.clear();
  for (auto& rowValues : packed) rowValues.clear();
}

void buildtree(KmerTree& tree, int k) {
  assert(k >= 1 && k <= kMaxTupleSize);
  if (tree.k == k) return;
  tree.k = k;
  tree.keys = keyCount(k);
  tree.count.assign(static_cast<std::size_t>(tree.keys), 0);
  tree.prefixOcc.assign(static_cast<std::size_t>(tree.keys / 4), 0);
  tree.suffixOcc.assign(static_cast<std::size_t>(tree.keys / 4), 0);
  tree.touched.assign((static_cast<std::size_t>(tree.keys) + 63) / 64, 0);
}

void zerotree(KmerTree& tree) {
  listTouched(tree);
  for (std::uint32_t key : tree.touchedKeys) tree.count[key] = 0;
  tree.touchedKeys.clear();
}

int frequencyW(KmerTree& tree, const char* s, int len, int measure, Profile& window) {
  const int n = positions(tree, len);
  countKmers(tree, s, n);
  if (window.values.size() != static_cast<std::size_t>(tree.keys)) {
    window.values.assign(static_cast<std::size_t>(tree.keys), 0.0);
    window.keys.clear();
  }
  treeprint(tree, n, usesMarkovModel(measure), window.values.data(), window.keys, window.packed);
  return 0;
}

int frequencyother(KmerTree& tree, const char* s, int len, int measure, SamplePool& pool, int j) {
  const int n = positions(tree, len);
  countKmers(tree, s, n);
  treeprint(tree, n, usesMarkovModel(measure), pool.row(j) + 1,
            pool.keys[static_cast<std::size_t>(j)], pool.packed[static_cast<std::size_t>(j)]);
  return 0;
}

}  // namespace morvale
