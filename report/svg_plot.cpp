#include "report/svg_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "base/number_text.h"

namespace morvale::report {

namespace {

constexpr double kWidth = 1200;
constexpr double kHeight = 560;
constexpr double kLeft = 70;
constexpr double kRight = 1180;
constexpr double kPlotTop = 60;
constexpr double kPlotBottom = 390;
constexpr double kGcTop = 420;
constexpr double kGcBottom = 490;
const char* const kPalette[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#9467bd", "#8c564b",
                                "#e377c2", "#17becf", "#bcbd22", "#7f7f7f", "#d62728"};

// Colour of window size number s of n: a fixed palette for up to ten sizes, hues
// spread around the wheel beyond that.
std::string colour(std::size_t s, std::size_t n) {
  if (n <= 10) return kPalette[s];
  char buf[40];
  std::snprintf(buf, sizeof buf, "hsl(%d,70%%,42%%)", static_cast<int>(300.0 * s / (n - 1)));
  return buf;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

struct Frame {
  double length;  // genome letters
  double yMax;    // top of the -log10 p axis
  double x(double position) const { return kLeft + position / length * (kRight - kLeft); }
  double y(double score) const {
    return kPlotBottom - std::min(score, yMax) / yMax * (kPlotBottom - kPlotTop);
  }
};

void axes(std::ostream& out, const Frame& f) {
  const bool mbp = f.length >= 2e6;
  const double unit = mbp ? 1e6 : 1e3;
  out << "<g stroke=\"#444\" fill=\"none\"><path d=\"M" << kLeft << ' ' << kPlotTop << "V"
      << kPlotBottom << "H" << kRight << "M" << kLeft << ' ' << kGcTop << "V" << kGcBottom << "H"
      << kRight << "\"/></g>\n<g font-size=\"11\" fill=\"#222\">\n";
  for (double t : roundTicks(f.length / unit)) {
    const double x = f.x(t * unit);
    out << "<path d=\"M" << numberText("%.1f", x) << ' ' << kGcBottom << "v5\" stroke=\"#444\"/>"
        << "<text x=\"" << numberText("%.1f", x) << "\" y=\"" << kGcBottom + 18
        << "\" text-anchor=\"middle\">" << numberText("%g", t) << "</text>\n";
  }
  out << "<text x=\"" << (kLeft + kRight) / 2 << "\" y=\"" << kGcBottom + 40
      << "\" text-anchor=\"middle\">genome position (" << (mbp ? "Mbp" : "kbp") << ")</text>\n";
  for (double t : roundTicks(f.yMax)) {
    out << "<path d=\"M" << kLeft - 5 << ' ' << numberText("%.1f", f.y(t))
        << "h5\" stroke=\"#444\"/>"
        << "<text x=\"" << kLeft - 8 << "\" y=\"" << numberText("%.1f", f.y(t) + 4)
        << "\" text-anchor=\"end\">" << numberText("%g", t) << "</text>\n";
  }
  out << "<text transform=\"translate(20 " << (kPlotTop + kPlotBottom) / 2
      << ") rotate(-90)\" text-anchor=\"middle\">-log10 p</text>\n"
      << "<text x=\"" << kLeft - 8 << "\" y=\"" << (kGcTop + kGcBottom) / 2 + 4
      << "\" text-anchor=\"end\">GC</text>\n</g>\n";
}

void islandBands(std::ostream& out, const Frame& f, const Inputs& in) {
  out << "<g fill=\"#f6b6b6\" fill-opacity=\"0.6\">\n";
  for (const Island& island : in.islands) {
    const double x0 = f.x(static_cast<double>(island.start));
    const double w = std::max(1.0, f.x(static_cast<double>(island.end)) - x0);
    for (const auto& band : {std::pair<double, double>{kPlotTop, kPlotBottom},
                             std::pair<double, double>{kGcTop, kGcBottom}}) {
      out << "<rect x=\"" << numberText("%.1f", x0) << "\" y=\"" << band.first << "\" width=\""
          << numberText("%.1f", w) << "\" height=\"" << band.second - band.first << "\"/>\n";
    }
  }
  out << "</g>\n";
}

// One path per window size; each point is a zero-length round-capped segment.
// Points are binned to cells of `cell` pixels and each cell is drawn once.
void points(std::ostream& out, const Frame& f, const Inputs& in,
            const std::vector<std::int64_t>& sizes) {
  // Cells grow a pixel at a time, then double; at the plot's width every window
  // size keeps at most a column of cells, so the loop ends whatever the rows.
  double cell = 1.0;
  std::map<std::int64_t, std::set<std::pair<int, int>>> cells;
  for (;; cell = cell < 8 ? cell + 1.0 : cell * 2) {
    cells.clear();
    std::size_t total = 0;
    for (const ScoreRow& r : in.rows) {
      const double cx = f.x(static_cast<double>(r.start + r.end) / 2.0);
      const double cy = f.y(minusLog10(r.p));
      total +=
          cells[r.size].insert({static_cast<int>(cx / cell), static_cast<int>(cy / cell)}).second;
    }
    if (total <= 150000 || cell >= kWidth) break;
  }
  for (std::size_t s = 0; s < sizes.size(); ++s) {
    out << "<path stroke=\"" << colour(s, sizes.size())
        << "\" stroke-width=\"3\" stroke-linecap=\"round\" stroke-opacity=\"0.8\" d=\"";
    for (const auto& c : cells[sizes[s]]) {
      out << 'M' << numberText("%.0f", (c.first + 0.5) * cell) << ' '
          << numberText("%.0f", (c.second + 0.5) * cell) << "h0";
    }
    out << "\"/>\n";
  }
}

void gcLine(std::ostream& out, const Frame& f, const Inputs& in) {
  const std::int64_t step = std::max<std::int64_t>(1000, in.genomeLength / 600);
  double low = 100;
  double high = 0;
  std::vector<std::pair<double, double>> values;
  for (std::int64_t s = 0; s < in.genomeLength; s += step) {
    const std::int64_t e = std::min(in.genomeLength, s + step);
    values.push_back({f.x((s + e) / 2.0), gcPercent(in.letters, s, e)});
    low = std::min(low, values.back().second);
    high = std::max(high, values.back().second);
  }
  if (high - low < 1) high = low + 1;
  out << "<path fill=\"none\" stroke=\"#333\" stroke-width=\"1\" d=\"";
  char op = 'M';
  for (const auto& v : values) {
    const double y = kGcBottom - 5 - (v.second - low) / (high - low) * (kGcBottom - kGcTop - 10);
    out << op << numberText("%.1f", v.first) << ' ' << numberText("%.1f", y);
    op = 'L';
  }
  out << "\"/>\n<text x=\"" << kRight << "\" y=\"" << kGcTop - 4
      << "\" font-size=\"11\" text-anchor=\"end\">GC % in " << step
      << " bp windows: " << numberText("%.1f", low) << "-" << numberText("%.1f", high)
      << " (genome " << numberText("%.1f", in.gcPercent) << ")</text>\n";
}

// One entry per window size (at most twelve, then a count of the rest) and the band.
void legend(std::ostream& out, const std::vector<std::int64_t>& sizes) {
  const std::size_t shown = std::min<std::size_t>(sizes.size(), 12);
  const std::size_t entries = shown + 1 + (sizes.size() > shown);
  out << "<g font-size=\"11\">\n<rect x=\"" << kRight - 100 << "\" y=\"" << kPlotTop
      << "\" width=\"100\" height=\"" << 15 * entries + 4
      << "\" fill=\"white\" fill-opacity=\"0.85\"/>\n";
  double y = kPlotTop + 12;
  for (std::size_t s = 0; s < shown; ++s, y += 15) {
    out << "<circle cx=\"" << kRight - 90 << "\" cy=\"" << y - 4 << "\" r=\"4\" fill=\""
        << colour(s, sizes.size()) << "\"/><text x=\"" << kRight - 80 << "\" y=\"" << y
        << "\">window " << sizes[s] << "</text>\n";
  }
  if (sizes.size() > shown) {
    out << "<text x=\"" << kRight - 80 << "\" y=\"" << y << "\">+" << sizes.size() - shown
        << " more sizes</text>\n";
    y += 15;
  }
  out << "<rect x=\"" << kRight - 94 << "\" y=\"" << y - 8
      << "\" width=\"9\" height=\"9\" fill=\"#f6b6b6\"/><text x=\"" << kRight - 80 << "\" y=\"" << y
      << "\">island</text>\n</g>\n";
}

}  // namespace

std::vector<double> roundTicks(double maxValue) {
  std::vector<double> ticks;
  if (!(maxValue > 0)) return {0.0};
  const double magnitude = std::pow(10.0, std::floor(std::log10(maxValue)));
  double step = magnitude;
  for (double m : {0.1, 0.2, 0.5, 1.0, 2.0}) {
    step = m * magnitude;
    if (maxValue / step <= 10) break;
  }
  for (int i = 0; i * step <= maxValue * (1 + 1e-9); ++i) ticks.push_back(i * step);
  return ticks;
}

void writeSvg(std::ostream& out, const Inputs& in) {
  std::set<std::int64_t> sizeSet;
  double top = 1.0;
  for (const ScoreRow& r : in.rows) {
    sizeSet.insert(r.size);
    top = std::max(top, minusLog10(r.p));
  }
  const std::vector<std::int64_t> sizes(sizeSet.begin(), sizeSet.end());
  const Frame f{static_cast<double>(in.genomeLength), roundTicks(top).back() < top
                                                          ? roundTicks(top * 1.1).back()
                                                          : roundTicks(top).back()};
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
      << "width=\"" << kWidth << "\" height=\"" << kHeight << "\" viewBox=\"0 0 " << kWidth << ' '
      << kHeight << "\" font-family=\"sans-serif\">\n<rect width=\"100%\" height=\"100%\" "
      << "fill=\"white\"/>\n<text x=\"" << kLeft << "\" y=\"24\" font-size=\"14\">"
      << escaped(in.sequenceName) << " (" << in.genomeLength << " bp): window scores "
      << escaped(in.scoresFile) << ", islands " << escaped(in.islandsFile) << "</text>\n"
      << "<text x=\"" << kLeft << "\" y=\"42\" font-size=\"11\" fill=\"#555\">genome "
      << escaped(in.genomeFile) << "; " << in.rows.size() << " window rows, " << in.islands.size()
      << " islands</text>\n";
  islandBands(out, f, in);
  axes(out, f);
  points(out, f, in, sizes);
  gcLine(out, f, in);
  legend(out, sizes);
  out << "</svg>\n";
}

}  // namespace morvale::report
