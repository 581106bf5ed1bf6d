// Key indices of k-mers: a k-mer's k letters read as base-4 digits, first letter
// least significant, with a c g t = 0 1 2 3. Every per-k-mer array in the program
// is indexed by this key, 0 to 4^k - 1.
#pragma once

#include <cstdint>

namespace morvale {

constexpr int kMaxTupleSize = 8;

// 4^k as the method computes it: pow(4, k) in double, truncated to int.
int keyCount(int k);

// Writes the k letters of key index `index` and a terminator into `buffer`
// (at least k + 1 characters); k = 0 writes only the terminator.
void calculateKey(char* buffer, int index, int k);

// The 2-bit code of a letter: a/A 0, c/C 1, g/G 2, t/T 3, anything else 0.
std::uint32_t letterCode(char letter);

}  // namespace morvale
