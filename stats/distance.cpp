#include "stats/distance.h"

#include <cmath>

namespace morvale {

namespace {

const double kLogBound = std::log(1000.0);

// Sum of terms over the ascending union of two key lists.
template <typename Term>
double unionSum(const double* x, const std::vector<std::uint32_t>& xKeys, const double* y,
                const std::vector<std::uint32_t>& yKeys, Term term) {
  double sum = 0.0;
  std::size_t i = 0;
  std::size_t j = 0;
  const std::size_t nx = xKeys.size();
  const std::size_t ny = yKeys.size();
  while (i < nx && j < ny) {
    const std::uint32_t kx = xKeys[i];
    const std::uint32_t ky = yKeys[j];
    const std::uint32_t key = kx < ky ? kx : ky;
    i += kx == key;
    j += ky == key;
    sum += term(x[key], y[key]);
  }
  for (; i < nx; ++i) sum += term(x[xKeys[i]], y[xKeys[i]]);
  for (; j < ny; ++j) sum += term(x[yKeys[j]], y[yKeys[j]]);
  return sum;
}

double absoluteTerm(double x, double y) {
  return std::fabs(x - y);
}
double squaredTerm(double x, double y) {
  return (x - y) * (x - y);
}
double klTerm(double x, double y) {
  return x * std::log(boundedRatio(x, y)) + y * std::log(boundedRatio(y, x));
}
// The same value with the zero cases shortened: with x = 0 the first product is
// -0.0 and the sum is y * ln(1000) exactly; likewise for y = 0.
double klTermFast(double x, double y) {
  if (x == 0.0) return y * kLogBound;
  if (y == 0.0) return x * kLogBound;
  return klTerm(x, y);
}

}  // namespace

Distance distanceOf(int measure) {
  if (measure == 1 || measure == 4) return Distance::kAbsolute;
  if (measure == 2 || measure == 5) return Distance::kEuclidean;
  if (measure == 3 || measure == 6) return Distance::kKullbackLeibler;
  return Distance::kNone;
}

double boundedRatio(double u, double v) {
  if (v == 0.0) return 1000.0;
  const double r = u / v;
  if (r <= 0.001) return 0.001;
  if (r >= 1000.0) return 1000.0;
  return r;
}

double distanceTerm(Distance d, double x, double y) {
  switch (d) {
    case Distance::kAbsolute:
      return absoluteTerm(x, y);
    case Distance::kEuclidean:
      return squaredTerm(x, y);
    case Distance::kKullbackLeibler:
      return klTerm(x, y);
    default:
      return 0.0;
  }
}

double profileDistance(Distance d, const double* x, const std::vector<std::uint32_t>& xKeys,
                       const double* y, const std::vector<std::uint32_t>& yKeys) {
  switch (d) {
    case Distance::kAbsolute:
      return unionSum(x, xKeys, y, yKeys, absoluteTerm);
    case Distance::kEuclidean:
      return std::sqrt(unionSum(x, xKeys, y, yKeys, squaredTerm));
    case Distance::kKullbackLeibler:
      return unionSum(x, xKeys, y, yKeys, klTermFast);
    default:
      return 0.0;
  }
}

}  // namespace morvale
