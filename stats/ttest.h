// The paired Student t-test and the numerical routines beneath it (mean, sample
// variance, log-gamma, regularized incomplete beta by continued fraction), in
// double, with the classic constants. A numerical failure is returned as its
// message; reporting it is the caller's business.
#pragma once

namespace morvale {

// The messages of the numerical failures.
extern const char* const kBetacfFailure;  // "a or b too big, or MAXIT too small in betacf"
extern const char* const kBetaiBadX;      // "Bad x in routine betai"

// A routine's value, or why it has none (`failure` then names the message above
// and `value` means nothing).
struct Numerical {
  double value = 0.0;
  const char* failure = nullptr;
  bool ok() const { return failure == nullptr; }
};

// Paired t-test of a[0..n) against b[0..n): result[0] = t (positive when a has
// the larger mean), result[1] = two-sided p-value. Returns nullptr, or the failure
// message when the p-value cannot be computed (identical series, n = 1: t is not
// a number), and then result[1] means nothing.
const char* tptest(const double* a, const double* b, int n, double* result);

// Regularized incomplete beta function I_x(a, b); x outside [0, 1] fails (kBetaiBadX).
Numerical betai(double a, double b, double x);
// Its continued fraction by the modified Lentz method; fails (kBetacfFailure) when
// 100 rounds do not converge, which includes every x or a that is not a number.
Numerical betacf(double a, double b, double x);
// ln Gamma(xx) for xx > 0 (Lanczos).
double gammln(double xx);
// Mean of data[0..n), summed in index order.
double ave(const double* data, int n);
// Sample variance of data[0..n) (divisor n - 1), corrected two-pass algorithm.
double var(const double* data, int n);

}  // namespace morvale
