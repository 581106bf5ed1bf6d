// The paired Student t-test and the numerical routines beneath it (mean, sample
// variance, log-gamma, regularized incomplete beta by continued fraction), in
// double, with the classic constants; a numerical failure ends the process.
#pragma once

namespace morvale {

// Paired t-test of a[0..n) against b[0..n): result[0] = t (positive when a has
// the larger mean), result[1] = two-sided p-value. Returns `result`.
double* tptest(const double* a, const double* b, int n, double* result);

// Regularized incomplete beta function I_x(a, b), 0 <= x <= 1.
double betai(double a, double b, double x);
// Its continued fraction by the modified Lentz method (at most 100 rounds).
double betacf(double a, double b, double x);
// ln Gamma(xx) for xx > 0 (Lanczos).
double gammln(double xx);
// Mean of data[0..n), summed in index order.
double ave(const double* data, int n);
// Sample variance of data[0..n) (divisor n - 1), corrected two-pass algorithm.
double var(const double* data, int n);
// Writes the three-line run-time error report to stderr and exits with status 1.
[[noreturn]] void nrerror(const char* message);

}  // namespace morvale
