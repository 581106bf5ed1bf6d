#include "kmer/profile.h"

namespace morvale {

std::vector<double> Profile::dense() const {
  std::vector<double> all(keySpace, 0.0);
  for (std::size_t i = 0; i < keys.size(); ++i) all[keys[i]] = values[i];
  return all;
}

}  // namespace morvale
