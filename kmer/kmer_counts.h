// Counting the k-mers of a string and turning the counts into its profile. The
// counts live in a flat table indexed by key (4^k counters), with a bitmap of the
// keys counted since the last reset, so a profile costs one step per position plus
// its distinct keys, never 4^k per position.
#pragma once

#include <cstdint>
#include <vector>

#include "kmer/kmer_key.h"
#include "kmer/profile.h"
#include "kmer/sample_pool.h"

namespace morvale {

// True for the measures whose profiles use the Markov model (4, 5, 6).
inline bool usesMarkovModel(int measure) {
  return measure >= 4 && measure <= 6;
}

struct KmerCountTable {
  int k = 0;
  int keys = 0;                            // 4^k
  std::vector<std::int32_t> count;         // by key
  std::vector<std::int32_t> prefixOcc;     // by (k-1)-mer: counted positions starting with it
  std::vector<std::int32_t> suffixOcc;     // by (k-1)-mer: counted positions ending with it
  std::vector<std::uint64_t> counted;      // bitmap of the keys counted since the last reset
  std::vector<std::uint32_t> countedKeys;  // scratch: those keys, ascending
};

// Prepares the table for k (1..8; PreconditionError otherwise). Building again with
// the same k changes nothing.
void buildtree(KmerCountTable& table, int k);
// Resets every count to zero. Counts accumulate from one reset to the next.
void zerotree(KmerCountTable& table);

// Counts the k-mers of s[0..len) and writes the profile: for every key,
// (count / prefixCount + count / suffixCount) / n in double, n = len - k + 1, where
// prefixCount and suffixCount are 1, or with the Markov model (measures 4-6) 1 plus
// the counted positions whose k-mer starts with the key's first k-1 letters / ends
// with its last k-1 letters. Counts since the last reset all take part, so the
// caller resets first. The profile's keys are ascending whatever the call order.
// Requires len >= k (PreconditionError otherwise). Returns 0.
int frequencyW(KmerCountTable& table, const char* s, int len, int measure, Profile& profile);
// The same, into row j of the pool; the row's start is left alone.
int frequencyother(KmerCountTable& table, const char* s, int len, int measure, SamplePool& pool,
                   int j);

}  // namespace morvale
