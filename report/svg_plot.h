// The score plot: -log10 p of every window row along the genome, one colour per
// window size, the islands as shaded bands, the cut-off as a line, record
// boundaries, and the GC content below on its own axis with the genome's mean.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "report/loaded_run.h"

namespace morvale::report {

// Round axis ticks for [0, maxValue]: multiples of 1, 2 or 5 times a power of ten,
// about five to ten of them.
std::vector<double> roundTicks(double maxValue);

// The top of the value axis (-log10 p or score, see plotValue): a round tick at or
// above every row and the cut-off.
double plotTop(const LoadedRun& in);
// Its bottom: 0, or for scores below 0 a round tick at or below the lowest row and
// the cut-off.
double plotBottom(const LoadedRun& in);
// The ticks of the value axis from yMin to yMax: roundTicks(yMax) when yMin is 0,
// else the multiples of roundTicks' step for the range that lie within it.
std::vector<double> valueTicks(double yMin, double yMax);

// One point of the plot: a window row's centre (genome letters), its height
// (plotValue) and its window size.
struct PlotPoint {
  double position;
  double score;
  std::int64_t size;
};

// The rows thinned for a plot: a grid of `columns` over the genome and `rows` over
// [yMin, yMax] of their heights, each cell keeping its strongest row (stronger); the
// grid is halved until at most `budget` cells are kept. In cell order.
std::vector<PlotPoint> thinnedPoints(const std::vector<ScoreRow>& scoreRows, ScoreKind kind,
                                     std::int64_t genomeLength, double yMin, double yMax,
                                     int columns, int rows, std::size_t budget);

// Writes the whole picture, 1320 px wide, with at most `pointBudget` points (one
// per pixel cell at the most), so a million rows stay within a few megabytes. A
// standalone picture starts with the XML declaration; one inside a page does not.
void writeSvg(std::ostream& out, const LoadedRun& in, std::size_t pointBudget = 150000,
              bool standalone = true);

// Colour of window size number s of n: a fixed palette for up to ten sizes, hues
// spread around the wheel beyond that.
std::string sizeColour(std::size_t s, std::size_t n);

// `text` with & < > " ' escaped for XML (as for HTML).
std::string svgEscaped(const std::string& text);

}  // namespace morvale::report
