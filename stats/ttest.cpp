#include "stats/ttest.h"

#include <cmath>

namespace morvale {

const char* const kBetacfFailure = "a or b too big, or MAXIT too small in betacf";
const char* const kBetaiBadX = "Bad x in routine betai";

namespace {
constexpr int kMaxIterations = 100;
constexpr double kEps = 3.0e-7;
constexpr double kFpMin = 1.0e-30;

double atLeastFpMin(double v) {
  return std::fabs(v) < kFpMin ? kFpMin : v;
}
}  // namespace

double ave(const double* data, int n) {
  double sum = 0.0;
  for (int j = 0; j < n; ++j) sum += data[j];
  return sum / n;
}

double var(const double* data, int n) {
  const double mean = ave(data, n);
  double ep = 0.0;
  double s = 0.0;
  for (int j = 0; j < n; ++j) {
    const double d = data[j] - mean;
    ep += d;
    s += d * d;
  }
  return (s - ep * ep / n) / (n - 1);
}

const char* tptest(const double* a, const double* b, int n, double* result) {
  const double aveA = ave(a, n);
  const double varA = var(a, n);
  const double aveB = ave(b, n);
  const double varB = var(b, n);
  double cov = 0.0;
  for (int j = 0; j < n; ++j) cov += (a[j] - aveA) * (b[j] - aveB);
  const double df = n - 1;
  cov /= df;
  const double sd = std::sqrt((varA + varB - 2.0 * cov) / n);
  const double t = (aveA - aveB) / sd;
  result[0] = t;
  const Numerical p = betai(0.5 * df, 0.5, df / (df + t * t));
  result[1] = p.value;
  return p.failure;
}

double gammln(double xx) {
  static const double cof[6] = {76.18009172947146,  -86.50532032941678,   24.01409824083091,
                                -1.231739572450155, 0.001208650973866179, -5.395239384953e-06};
  double y = xx;
  double tmp = xx + 5.5;
  tmp -= (xx + 0.5) * std::log(tmp);
  double ser = 1.000000000190015;
  for (double c : cof) ser += c / ++y;
  return std::log(2.5066282746310007 * ser / xx) - tmp;
}

Numerical betacf(double a, double b, double x) {
  const double qab = a + b;
  const double qap = a + 1.0;
  const double qam = a - 1.0;
  double c = 1.0;
  double d = 1.0 / atLeastFpMin(1.0 - qab * x / qap);
  double h = d;
  for (int m = 1; m <= kMaxIterations; ++m) {
    const int m2 = 2 * m;
    double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
    d = 1.0 / atLeastFpMin(1.0 + aa * d);
    c = atLeastFpMin(1.0 + aa / c);
    h *= d * c;
    aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
    d = 1.0 / atLeastFpMin(1.0 + aa * d);
    c = atLeastFpMin(1.0 + aa / c);
    const double del = d * c;
    h *= del;
    if (std::fabs(del - 1.0) < kEps) return {h, nullptr};
  }
  return {h, kBetacfFailure};
}

Numerical betai(double a, double b, double x) {
  if (x < 0.0 || x > 1.0) return {0.0, kBetaiBadX};
  const double bt = (x == 0.0 || x == 1.0) ? 0.0
                                           : std::exp(gammln(a + b) - gammln(a) - gammln(b) +
                                                      a * std::log(x) + b * std::log(1.0 - x));
  if (x < (a + 1.0) / (a + b + 2.0)) {
    const Numerical cf = betacf(a, b, x);
    return {bt * cf.value / a, cf.failure};
  }
  const Numerical cf = betacf(b, a, 1.0 - x);
  return {1.0 - bt * cf.value / b, cf.failure};
}

}  // namespace morvale
