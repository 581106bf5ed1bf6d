// A k-mer frequency profile kept sparse: the key indices whose value is not zero,
// ascending, and their values in the same order. Every other key of the 4^k has
// the value 0. Distances walk two profiles front to back.
#pragma once

#include <cstdint>
#include <vector>

namespace morvale {

// A read-only view of a profile: `size` keys and values out of `keySpace` keys.
struct SparseProfile {
  const std::uint32_t* keys;
  const double* values;
  std::size_t size;
  std::size_t keySpace;
};

struct Profile {
  std::size_t keySpace = 0;         // 4^k
  std::vector<std::uint32_t> keys;  // non-zero keys, strictly ascending
  std::vector<double> values;       // their values

  SparseProfile sparse() const { return {keys.data(), values.data(), keys.size(), keySpace}; }
  // The value of every key, 4^k of them (for inspection; the scans never need it).
  std::vector<double> dense() const;
};

}  // namespace morvale
