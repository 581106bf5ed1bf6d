// Robust z-scores of a gene measure among genes of similar length: each value is
// set against the median and the scaled median absolute deviation (MAD) of its
// neighbours by length, so that short genes, noisier by nature, are compared
// with short genes.
#pragma once

#include <cstddef>
#include <vector>

namespace morvale {

// The median of `values` (the mean of the two middle ones for an even count); 0
// for none.
double median(std::vector<double> values);

// The robust z of `value` in `sample` (which holds it): (value - median) / scale,
// scale = 1.4826 * MAD. When the MAD is 0 the scale is 1.2533 * the mean absolute
// deviation from the median (both constants make the scale the standard deviation
// of a normal sample); when that is 0 too, every value equals the median and z is 0.
double robustZ(double value, const std::vector<double>& sample);

// The robust z of each of `values` among its length neighbours. `lengthRank[i]` is
// the position of value i when the genes are ordered by length (a permutation of
// 0..n-1, ties in length broken by the caller). A gene's neighbours are the
// min(2 * neighbours + 1, n) genes nearest it in that order, itself included:
// `neighbours` on either side, the window slid inwards at the two ends so that it
// keeps its size.
std::vector<double> robustZByLength(const std::vector<double>& values,
                                    const std::vector<std::size_t>& lengthRank,
                                    std::size_t neighbours);

}  // namespace morvale
