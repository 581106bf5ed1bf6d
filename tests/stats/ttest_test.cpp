// The paired t-test: worked values, the numerical failures, and agreement with SciPy.
#include "stats/ttest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace morvale {
namespace {

struct TTest {
  double t, p;
  const char* failure;
};
TTest run(const std::vector<double>& a, const std::vector<double>& b) {
  double r[2];
  const char* failure = tptest(a.data(), b.data(), static_cast<int>(a.size()), r);
  return {r[0], r[1], failure};
}

TEST(PairedTTest, WorkedValues) {
  TTest r = run({1, 2, 3, 4, 5}, {1, 1, 2, 2, 3});
  EXPECT_NEAR(r.t, 3.20713, 5e-6);
  EXPECT_NEAR(r.p, 0.0326779, 5e-8);
  r = run({2, 4, 6}, {1, 2, 3});
  EXPECT_NEAR(r.t, 3.46410, 5e-6);
  EXPECT_NEAR(r.p, 0.0741799, 5e-8);
  r = run({1, 5, 3}, {2, 3, 4});
  EXPECT_TRUE(r.t == 0.0 && r.p == 1.0) << r.t << " " << r.p;
  r = run({2, 3, 4}, {1, 2, 3});
  EXPECT_TRUE(r.t == std::numeric_limits<double>::infinity() && r.p == 0.0) << r.t << " " << r.p;
  EXPECT_EQ(r.failure, nullptr);
  EXPECT_NEAR(betai(4.5, 0.5, 9 / (9 + 2.2621571627982 * 2.2621571627982)).value, 0.05, 1e-8);
  EXPECT_TRUE(betai(2.0, 0.5, 0.0).value == 0.0 && betai(2.0, 0.5, 1.0).value == 1.0);
  EXPECT_NEAR(gammln(1.0), 0.0, 1e-13);
  EXPECT_NEAR(gammln(0.5), 0.572364942924743, 1e-13);
}

// Tests without a p-value (t not a number) and x outside [0, 1] come back as failures.
TEST(PairedTTest, UndefinedTestsReturnTheirFailure) {
  EXPECT_EQ(run({1, 2}, {1, 3}).failure, nullptr);
  EXPECT_EQ(run({1, 2, 3}, {1, 2, 3}).failure, kBetacfFailure);
  EXPECT_EQ(run({0, 0, 0}, {0, 0, 0}).failure, kBetacfFailure);
  EXPECT_EQ(run({1}, {2}).failure, kBetacfFailure);
  for (double x : {1.5, -0.5}) EXPECT_EQ(betai(1.0, 1.0, x).failure, kBetaiBadX) << x;
  EXPECT_EQ(betacf(1.0, 1.0, std::nan("")).failure, kBetacfFailure);
  EXPECT_STREQ(kBetacfFailure, "a or b too big, or MAXIT too small in betacf");
  EXPECT_STREQ(kBetaiBadX, "Bad x in routine betai");
}

// Reference values from SciPy's paired t-test (scipy.stats.ttest_rel, SciPy 1.10.1),
// produced by: /usr/bin/python3 tests/stats/paired_reference.py
struct Reference {
  int n, s;
  double t, p;
};
const Reference kScipy[] = {
    {3, 1, 0.92189550602847659, 0.45390581968454435},
    {3, 4, 0.83223971956382392, 0.49282169548343413},
    {3, 9, 3.8251017879952656, 0.062052470424878631},
    {7, 1, 0.79734648312742307, 0.45563654403269671},
    {7, 4, 1.5101067064533022, 0.1817590975906529},
    {7, 9, 1.1528778465676943, 0.29281267176572051},
    {30, 1, 0.53230190251365783, 0.59857198975708092},
    {30, 4, 2.082491714025489, 0.046226327339993011},
    {30, 9, 2.7870206019884622, 0.0092861542828364813},
    {200, 1, 1.6541609303801679, 0.099671272563238822},
    {200, 4, 4.2397968375634871, 3.423471167933484e-05},
    {200, 9, 8.5381142899060372, 3.5023450046238647e-15},
};

TEST(PairedTTest, AgreesWithAnIndependentImplementation) {
  for (const Reference& ref : kScipy) {
    std::vector<double> a, b;
    for (int j = 0; j < ref.n; ++j) {
      a.push_back(((j * 37 + ref.s * 11) % 101) / 10.0 + ref.s * 0.25);
      b.push_back(((j * 53 + ref.s * 7) % 97) / 10.0);
    }
    const TTest r = run(a, b);
    EXPECT_EQ(r.failure, nullptr);
    EXPECT_NEAR(r.t, ref.t, 1e-12 * (1 + std::fabs(ref.t))) << ref.n << " " << ref.s;
    EXPECT_LT(std::fabs(r.p - ref.p) / ref.p, 1e-6) << ref.n << " " << ref.s << " p=" << r.p;
  }
}

}  // namespace
}  // namespace morvale
