# Prints the reference p-values of the paired t-test for the series that
# ttest_test.cpp builds with seriesA/seriesB, using SciPy's paired t-test.
# Run: /usr/bin/python3 tests/stats/paired_reference.py   (Debian: python3-scipy)
from scipy import stats

def series(n, s):
    a = [((j * 37 + s * 11) % 101) / 10.0 + s * 0.25 for j in range(n)]
    b = [((j * 53 + s * 7) % 97) / 10.0 for j in range(n)]
    return a, b

for n in (3, 7, 30, 200):
    for s in (1, 4, 9):
        a, b = series(n, s)
        r = stats.ttest_rel(a, b)
        print("    {%d, %d, %.17g, %.17g}," % (n, s, r.statistic, r.pvalue))
