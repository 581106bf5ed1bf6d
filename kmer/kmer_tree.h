// K-mer frequency profiles of windows and random samples. A k-mer's key index is
// its k letters read as base-4 digits, first letter least significant (a c g t =
// 0 1 2 3); profiles are flat arrays of 4^k doubles indexed by it. The "tree" is a
// flat count table with the same contract as a tree holding every k-mer once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvale {

constexpr int kMaxTupleSize = 8;

// 4^k as the method computes it: pow(4, k) in double, truncated to int.
int keyCount(int k);

// True for the measures built with the Markov model (4, 5, 6).
inline bool usesMarkovModel(int measure) {
  return measure >= 4 && measure <= 6;
}

// Writes the k letters of key index `index` and a terminator into `buffer`
// (at least k + 1 characters).
void calculateKey(char* buffer, int index, int k);

// The non-zero entries of a profile: `size` key indices, ascending, and their
// values, out of `keySpace` (4^k) keys.
struct SparseProfile {
  const std::uint32_t* keys;
  const double* values;
  std::size_t size;
  std::size_t keySpace;
};

// One string's profile: `values` holds 4^k values by key index; `keys` lists the
// key indices whose value is non-zero, in ascending order, and `packed` their
// values in the same order (what the distances read, front to back).
struct Profile {
  std::vector<double> values;
  std::vector<std::uint32_t> keys;
  std::vector<double> packed;
  SparseProfile sparse() const { return {keys.data(), packed.data(), keys.size(), values.size()}; }
};

// The sample pool: `rows` rows of 4^k + 1 doubles; element 0 of a row is the
// sample's start, elements 1..4^k its profile. `keys[j]` lists row j's non-zero
// key indices (0-based, ascending) and `packed[j]` their values. Profiles are
// written only by the builders below, which keep the three in step.
struct SamplePool {
  int rows = 0;
  int keyCount = 0;
  std::vector<double> data;
  std::vector<std::vector<std::uint32_t>> keys;
  std::vector<std::vector<double>> packed;

  void allocate(int rowCount, int keys4k);
  double* row(int j) { return data.data() + static_cast<std::size_t>(j) * (keyCount + 1); }
  const double* row(int j) const {
    return data.data() + static_cast<std::size_t>(j) * (keyCount + 1);
  }
  const double* profile(int j) const { return row(j) + 1; }
  SparseProfile sparse(int j) const {
    const auto at = static_cast<std::size_t>(j);
    return {keys[at].data(), packed[at].data(), keys[at].size(),
            static_cast<std::size_t>(keyCount)};
  }
};

// Counters for every k-mer of length k. Counting a string costs one step per
// position plus the touched keys; nothing is proportional to 4^k per position.
struct KmerTree {
  int k = 0;
  int keys = 0;                            // 4^k
  std::vector<std::int32_t> count;         // by key index
  std::vector<std::int32_t> prefixOcc;     // by (k-1)-mer: positions starting with it
  std::vector<std::int32_t> suffixOcc;     // by (k-1)-mer: positions ending with it
  std::vector<std::uint64_t> touched;      // bitmap of counted keys not yet listed
  std::vector<std::uint32_t> touchedKeys;  // counted keys listed so far, ascending
};

// Prepares the counters for k (1..8). Building again with the same k changes nothing.
void buildtree(KmerTree& tree, int k);
// Resets every count to zero. Counts accumulate from one zerotree to the next.
void zerotree(KmerTree& tree);

// Counts the k-mers of s[0..len) and writes the profile: for every key,
// (count / prefixCount + count / suffixCount) / n in double, n = len - k + 1, where
// prefixCount and suffixCount are 1, or with the Markov model (measures 4-6) 1 plus
// the positions whose k-mer starts with the key's first k-1 letters / ends with its
// last k-1 letters. Requires len >= k and counters reset by zerotree. Returns 0.
int frequencyW(KmerTree& tree, const char* s, int len, int measure, Profile& window);
// The same, into row j of the pool (elements 1..4^k); element 0 is left alone.
int frequencyother(KmerTree& tree, const char* s, int len, int measure, SamplePool& pool, int j);

}  // namespace morvale
