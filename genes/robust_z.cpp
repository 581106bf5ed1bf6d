#include "genes/robust_z.h"

#include <algorithm>
#include <cmath>

namespace morvale {

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double robustZ(double value, const std::vector<double>& sample) {
  const double centre = median(sample);
  std::vector<double> deviations(sample.size());
  double sum = 0.0;
  for (std::size_t i = 0; i < sample.size(); ++i) {
    deviations[i] = std::fabs(sample[i] - centre);
    sum += deviations[i];
  }
  double scale = 1.4826 * median(deviations);
  if (scale == 0.0) scale = 1.2533 * (sum / static_cast<double>(sample.size()));
  return scale == 0.0 ? 0.0 : (value - centre) / scale;
}

std::vector<double> robustZByLength(const std::vector<double>& values,
                                    const std::vector<std::size_t>& lengthRank,
                                    std::size_t neighbours) {
  const std::size_t n = values.size();
  std::vector<double> byLength(n);
  for (std::size_t i = 0; i < n; ++i) byLength[lengthRank[i]] = values[i];
  const std::size_t size = std::min(2 * neighbours + 1, n);
  std::vector<double> z(n);
  std::vector<double> window;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t rank = lengthRank[i];
    const std::size_t from = std::min(rank - std::min(rank, neighbours), n - size);
    window.assign(byLength.begin() + static_cast<std::ptrdiff_t>(from),
                  byLength.begin() + static_cast<std::ptrdiff_t>(from + size));
    z[i] = robustZ(values[i], window);
  }
  return z;
}

}  // namespace morvale
