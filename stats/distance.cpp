#include "stats/distance.h"

#include <cmath>
#include <cstring>

namespace morvale {

namespace {

const double kLogBound = std::log(1000.0);

// Sums term(x_i, y_i) over the ascending union of the two key lists; a key missing
// from one list has value 0 there. Two ways to step through the lists give the
// same terms in the same order: branching on the key order, cheap when most keys
// are shared (short k), and masking, which a random key order cannot mispredict.
template <typename Term>
double unionSumBranching(const SparseProfile& x, const SparseProfile& y, std::size_t& i,
                         std::size_t& j, Term term) {
  double sum = 0.0;
  while (i < x.size && j < y.size) {
    const std::uint32_t kx = x.keys[i];
    const std::uint32_t ky = y.keys[j];
    if (kx == ky) {
      sum += term(x.values[i++], y.values[j++]);
    } else if (kx < ky) {
      sum += term(x.values[i++], 0.0);
    } else {
      sum += term(0.0, y.values[j++]);
    }
  }
  return sum;
}

// A double's bits kept when `keep` is 1, cleared to +0.0 when it is 0.
double masked(const double& value, std::uint64_t keep) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  bits &= 0 - keep;
  double out;
  std::memcpy(&out, &bits, sizeof out);
  return out;
}

template <typename Term>
double unionSumMasking(const SparseProfile& x, const SparseProfile& y, std::size_t& i,
                       std::size_t& j, Term term) {
  double sum = 0.0;
  while (i < x.size && j < y.size) {
    const std::uint32_t kx = x.keys[i];
    const std::uint32_t ky = y.keys[j];
    const std::uint64_t takeX = kx <= ky;
    const std::uint64_t takeY = ky <= kx;
    sum += term(masked(x.values[i], takeX), masked(y.values[j], takeY));
    i += takeX;
    j += takeY;
  }
  return sum;
}

template <typename Term>
double unionSum(const SparseProfile& x, const SparseProfile& y, Term term) {
  std::size_t i = 0;
  std::size_t j = 0;
  const bool mostlyShared = 2 * (x.size + y.size) >= 3 * x.keySpace;
  double sum =
      mostlyShared ? unionSumBranching(x, y, i, j, term) : unionSumMasking(x, y, i, j, term);
  for (; i < x.size; ++i) sum += term(x.values[i], 0.0);
  for (; j < y.size; ++j) sum += term(0.0, y.values[j]);
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

double profileDistance(Distance d, const SparseProfile& x, const SparseProfile& y) {
  switch (d) {
    case Distance::kAbsolute:
      return unionSum(x, y, absoluteTerm);
    case Distance::kEuclidean:
      return std::sqrt(unionSum(x, y, squaredTerm));
    case Distance::kKullbackLeibler:
      return unionSum(x, y, klTermFast);
    default:
      return 0.0;
  }
}

}  // namespace morvale
