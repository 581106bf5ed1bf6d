#include "stats/distance.h"

#include <cmath>
#include <cstring>

namespace morvale {

namespace {

const double kLogBound = std::log(1000.0);
constexpr int kMemoBits = 12;

std::uint64_t bitsOf(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

// A double's bits kept when `keep` is 1, cleared to +0.0 when it is 0.
double masked(double value, std::uint64_t keep) {
  const std::uint64_t bits = bitsOf(value) & (0 - keep);
  double out;
  std::memcpy(&out, &bits, sizeof out);
  return out;
}

struct AbsoluteTerm {
  double operator()(double x, double y) const { return std::fabs(x - y); }
};
struct SquaredTerm {
  double operator()(double x, double y) const { return (x - y) * (x - y); }
};

double literalKlTerm(double x, double y) {
  return x * std::log(boundedRatio(x, y)) + y * std::log(boundedRatio(y, x));
}

// Sums term(x_i, y_i) over the ascending union of the two key lists; a key missing
// from one list has value 0 there. Two ways to step through the lists give the
// same terms in the same order: branching on the key order, cheap when most keys
// are shared (short k), and masking, which a random key order cannot mispredict.
template <typename Term>
double unionSum(const SparseProfile& x, const SparseProfile& y, Term term) {
  std::size_t i = 0;
  std::size_t j = 0;
  double sum = 0.0;
  if (2 * (x.size + y.size) >= 3 * x.keySpace) {
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
  } else {
    while (i < x.size && j < y.size) {
      const std::uint64_t takeX = x.keys[i] <= y.keys[j];
      const std::uint64_t takeY = y.keys[j] <= x.keys[i];
      sum += term(masked(x.values[i], takeX), masked(y.values[j], takeY));
      i += takeX;
      j += takeY;
    }
  }
  for (; i < x.size; ++i) sum += term(x.values[i], 0.0);
  for (; j < y.size; ++j) sum += term(0.0, y.values[j]);
  return sum;
}

// The symmetric Kullback-Leibler sum in three passes with the same terms in the
// same order as summing along the union: lay out every term (a key in one profile
// only has the term v ln 1000, exactly what the formula gives, since the other side
// contributes -0.0), fill in the terms of the shared keys, then add them up.
double klSum(const SparseProfile& x, const SparseProfile& y, DistanceScratch& s) {
  const std::size_t most = x.size + y.size;
  if (s.terms.size() < most) {
    s.terms.resize(most);
    s.sharedAt.resize(most + 1);
    s.sharedX.resize(most + 1);
    s.sharedY.resize(most + 1);
  }
  double* terms = s.terms.data();
  std::uint32_t* sharedAt = s.sharedAt.data();
  double* sharedX = s.sharedX.data();
  double* sharedY = s.sharedY.data();
  std::size_t i = 0;
  std::size_t j = 0;
  std::size_t t = 0;
  std::size_t shared = 0;
  while (i < x.size && j < y.size) {
    const std::uint64_t takeX = x.keys[i] <= y.keys[j];
    const std::uint64_t takeY = y.keys[j] <= x.keys[i];
    const double xv = masked(x.values[i], takeX);
    const double yv = masked(y.values[j], takeY);
    terms[t] = xv * kLogBound + yv * kLogBound;
    sharedAt[shared] = static_cast<std::uint32_t>(t);
    sharedX[shared] = xv;
    sharedY[shared] = yv;
    shared += takeX & takeY;
    ++t;
    i += takeX;
    j += takeY;
  }
  for (; i < x.size; ++i) terms[t++] = x.values[i] * kLogBound;
  for (; j < y.size; ++j) terms[t++] = y.values[j] * kLogBound;
  for (std::size_t k = 0; k < shared; ++k) terms[sharedAt[k]] = s.klTerm(sharedX[k], sharedY[k]);
  double sum = 0.0;
  for (std::size_t k = 0; k < t; ++k) sum += terms[k];
  return sum;
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
      return AbsoluteTerm()(x, y);
    case Distance::kEuclidean:
      return SquaredTerm()(x, y);
    case Distance::kKullbackLeibler:
      return literalKlTerm(x, y);
    default:
      return 0.0;
  }
}

DistanceScratch::DistanceScratch() : memo_(std::size_t{1} << kMemoBits, Entry{0, 0, 0.0}) {}

double DistanceScratch::klTerm(double x, double y) {
  const std::uint64_t xb = bitsOf(x);
  const std::uint64_t yb = bitsOf(y);
  // Both values are non-zero, so no entry of the fresh table (0, 0) can match.
  Entry& e =
      memo_[((xb * 0x9E3779B97F4A7C15ull) ^ (yb * 0xC2B2AE3D27D4EB4Full)) >> (64 - kMemoBits)];
  if (e.x != xb || e.y != yb) e = Entry{xb, yb, literalKlTerm(x, y)};
  return e.term;
}

double profileDistance(Distance d, const SparseProfile& x, const SparseProfile& y,
                       DistanceScratch& scratch) {
  switch (d) {
    case Distance::kAbsolute:
      return unionSum(x, y, AbsoluteTerm());
    case Distance::kEuclidean:
      return std::sqrt(unionSum(x, y, SquaredTerm()));
    case Distance::kKullbackLeibler:
      return klSum(x, y, scratch);
    default:
      return 0.0;
  }
}

}  // namespace morvale
