// The score plot: -log10 p of every window row along the genome, one colour per
// window size, the islands as shaded bands, the cut-off as a line, record
// boundaries, and the GC content below on its own axis with the genome's mean.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "report/report.h"

namespace morvale::report {

// Round axis ticks for [0, maxValue]: multiples of 1, 2 or 5 times a power of ten,
// about five to ten of them.
std::vector<double> roundTicks(double maxValue);

// The top of the -log10 p axis: a round tick at or above every row and the cut-off.
double plotTop(const Inputs& in);

// Writes the whole picture, 1320 px wide. Points that would fall on the same
// pixel cell are drawn once, so a million rows stay within a few megabytes.
void writeSvg(std::ostream& out, const Inputs& in);

// `text` with & < > " escaped for XML.
std::string svgEscaped(const std::string& text);

}  // namespace morvale::report
