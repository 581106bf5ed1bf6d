// The score plot: -log10 p of every window row along the genome, one colour per
// window size, the islands as shaded bands and the GC content below, as SVG.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "report/report.h"

namespace morvale::report {

// Round axis ticks for [0, maxValue]: multiples of 1, 2 or 5 times a power of ten,
// about five to ten of them.
std::vector<double> roundTicks(double maxValue);

// Writes the whole picture, 1200 px wide. Points that would fall on the same
// pixel cell are drawn once, so a million rows stay within a few megabytes.
void writeSvg(std::ostream& out, const Inputs& in);

}  // namespace morvale::report
