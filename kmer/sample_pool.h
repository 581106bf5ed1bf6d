// The sample pool: the random samples of one window size (or of one refinement
// run), each row the sample's start position and its sparse profile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kmer/profile.h"

namespace morvale {

struct SamplePool {
  // starts[j]: where sample j starts, as the scan records it (first phase: its
  // offset in the genome string; refinement: its offset in the background).
  std::vector<double> starts;
  std::vector<Profile> rows;

  int size() const { return static_cast<int>(rows.size()); }
  SparseProfile sparse(int j) const { return rows[static_cast<std::size_t>(j)].sparse(); }
};

// Bytes that `rows` samples of `sampleLength` letters can take at k: at most
// min(4^k, sampleLength - k + 1) non-zero keys a row, each a key and a value.
double samplePoolBytes(int rows, int k, std::int64_t sampleLength);

}  // namespace morvale
