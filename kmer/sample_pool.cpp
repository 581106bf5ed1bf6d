#include "kmer/sample_pool.h"

#include <algorithm>

#include "kmer/kmer_key.h"

namespace morvale {

double samplePoolBytes(int rows, int k, std::int64_t sampleLength) {
  const double keys = std::min<double>(keyCount(k), static_cast<double>(sampleLength - k + 1));
  const double perRow = sizeof(Profile) + sizeof(double) +
                        std::max(0.0, keys) * (sizeof(std::uint32_t) + sizeof(double));
  return rows * perRow;
}

}  // namespace morvale
