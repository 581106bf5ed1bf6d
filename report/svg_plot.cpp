#include "report/svg_plot.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "base/number_text.h"
#include "islands/run_record.h"
#include "report/html_assets.h"

namespace morvale::report {

namespace {

constexpr double kWidth = 1320;
constexpr double kHeight = 580;
constexpr double kLeft = 70;
constexpr double kRight = 1130;  // the legend has the column to the right of the plot
constexpr double kPlotTop = 70;
constexpr double kPlotBottom = 390;
constexpr double kGcTop = 420;
constexpr double kGcBottom = 500;
const char* const kPalette[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#9467bd", "#8c564b",
                                "#e377c2", "#17becf", "#bcbd22", "#7f7f7f", "#d62728"};

std::string colour(std::size_t s, std::size_t n) {
  return sizeColour(s, n);
}

std::string px(double v) {
  return numberText("%.1f", v);
}

// A plain number for an axis label: no exponent below a million.
std::string tickText(double t) {
  return numberText(std::fabs(t) < 1e6 ? "%.10g" : "%g", t);
}

struct Frame {
  double length;  // genome letters
  double yMin;    // bottom of the value axis: 0 for -log10 p, at or below 0 for scores
  double yMax;    // top of the value axis (-log10 p or score)
  double gcLow;   // the GC panel's range, in percent
  double gcHigh;
  ScoreKind kind = ScoreKind::kPValue;
  double x(double position) const { return kLeft + position / length * (kRight - kLeft); }
  double y(double score) const {
    return kPlotBottom - (score - yMin) / (yMax - yMin) * (kPlotBottom - kPlotTop);
  }
  double gcY(double percent) const {
    return kGcBottom - (percent - gcLow) / (gcHigh - gcLow) * (kGcBottom - kGcTop);
  }
};

// The unit of the position axis: bp under 10 kbp, kbp under 2 Mbp, Mbp above.
std::pair<double, const char*> positionUnit(double length) {
  if (length < 1e4) return {1.0, "bp"};
  if (length < 2e6) return {1e3, "kbp"};
  return {1e6, "Mbp"};
}

void axes(std::ostream& out, const Frame& f) {
  const auto [unit, unitName] = positionUnit(f.length);
  out << "<g stroke=\"#444\" fill=\"none\"><path d=\"M" << kLeft << ' ' << kPlotTop << "V"
      << kPlotBottom << "H" << kRight << "M" << kLeft << ' ' << kGcTop << "V" << kGcBottom << "H"
      << kRight << "\"/></g>\n<g font-size=\"11\" fill=\"#222\">\n";
  for (double t : roundTicks(f.length / unit)) {
    const double x = f.x(t * unit);
    out << "<path d=\"M" << px(x) << ' ' << kGcBottom << "v5\" stroke=\"#444\"/><text x=\"" << px(x)
        << "\" y=\"" << kGcBottom + 18 << "\" text-anchor=\"middle\">" << tickText(t)
        << "</text>\n";
  }
  out << "<text x=\"" << (kLeft + kRight) / 2 << "\" y=\"" << kGcBottom + 40
      << "\" text-anchor=\"middle\">position in the scanned genome (" << unitName << ")</text>\n";
  for (double t : valueTicks(f.yMin, f.yMax)) {
    out << "<path d=\"M" << kLeft - 5 << ' ' << px(f.y(t)) << "h5\" stroke=\"#444\"/><text x=\""
        << kLeft - 8 << "\" y=\"" << px(f.y(t) + 4) << "\" text-anchor=\"end\">" << tickText(t)
        << "</text>\n";
  }
  out << "<text transform=\"translate(20 " << (kPlotTop + kPlotBottom) / 2
      << ") rotate(-90)\" text-anchor=\"middle\">" << valueAxisLabel(f.kind) << "</text>\n";
  const double gcStep = f.gcHigh - f.gcLow > 40 ? 20 : 10;
  for (double t = f.gcLow; t <= f.gcHigh + 1e-9; t += gcStep) {
    out << "<path d=\"M" << kLeft - 5 << ' ' << px(f.gcY(t)) << "h5\" stroke=\"#444\"/><text x=\""
        << kLeft - 8 << "\" y=\"" << px(f.gcY(t) + 4) << "\" text-anchor=\"end\">" << tickText(t)
        << "</text>\n";
  }
  out << "<text transform=\"translate(20 " << (kGcTop + kGcBottom) / 2
      << ") rotate(-90)\" text-anchor=\"middle\">GC %</text>\n</g>\n";
}

void islandBands(std::ostream& out, const Frame& f, const LoadedRun& in) {
  out << "<g fill=\"#f6b6b6\" fill-opacity=\"0.6\">\n";
  for (const Island& island : in.islands) {
    const double x0 = f.x(static_cast<double>(island.start));
    const double w = std::max(1.0, f.x(static_cast<double>(island.end)) - x0);
    for (const auto& band : {std::pair<double, double>{kPlotTop, kPlotBottom},
                             std::pair<double, double>{kGcTop, kGcBottom}}) {
      out << "<rect x=\"" << px(x0) << "\" y=\"" << band.first << "\" width=\"" << px(w)
          << "\" height=\"" << band.second - band.first << "\"/>\n";
    }
  }
  out << "</g>\n";
}

// Where one record ends and the next begins, with their names when there are few.
void recordBoundaries(std::ostream& out, const Frame& f, const LoadedRun& in) {
  const std::vector<GenomeRecord>& records = in.genome.records;
  std::size_t shown = 0;
  for (const GenomeRecord& r : records) shown += r.joinedEnd > r.joinedStart;
  if (shown < 2) return;
  out << "<g stroke=\"#555\" stroke-dasharray=\"3 3\" font-size=\"10\" fill=\"#555\">\n";
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].joinedEnd == records[i].joinedStart) continue;
    const double x = f.x(static_cast<double>(records[i].joinedStart));
    if (records[i].joinedStart > 0) {
      out << "<path d=\"M" << px(x) << ' ' << kPlotTop << "V" << kGcBottom << "\"/>\n";
    }
    if (shown <= 20) {
      out << "<text stroke=\"none\" x=\"" << px(x + 3) << "\" y=\"" << kPlotTop - 4 << "\">"
          << svgEscaped(recordName(in, i)) << "</text>\n";
    }
  }
  out << "</g>\n";
}

// One path per window size; each point is a zero-length round-capped segment at
// its row's window centre and score, after thinning to one point per pixel cell.
void points(std::ostream& out, const Frame& f, const LoadedRun& in,
            const std::vector<std::int64_t>& sizes, std::size_t budget) {
  const int columns = static_cast<int>(kRight - kLeft);
  const int rows = static_cast<int>(kPlotBottom - kPlotTop);
  if (!in.contextRows.empty()) {
    out << "<path stroke=\"#bbb\" stroke-width=\"3\" stroke-linecap=\"round\" d=\"";
    for (const PlotPoint& p : thinnedPoints(in.contextRows, in.kind, in.genome.length, f.yMin,
                                            f.yMax, columns, rows, budget)) {
      out << 'M' << numberText("%.0f", f.x(p.position)) << ' ' << numberText("%.0f", f.y(p.score))
          << "h0";
    }
    out << "\"/>\n";
  }
  const std::vector<PlotPoint> kept =
      thinnedPoints(in.rows, in.kind, in.genome.length, f.yMin, f.yMax, columns, rows, budget);
  std::map<std::int64_t, std::string> paths;
  for (const PlotPoint& p : kept) {
    paths[p.size] +=
        'M' + numberText("%.0f", f.x(p.position)) + ' ' + numberText("%.0f", f.y(p.score)) + "h0";
  }
  for (std::size_t s = 0; s < sizes.size(); ++s) {
    const auto path = paths.find(sizes[s]);
    if (path == paths.end()) continue;
    out << "<path stroke=\"" << colour(s, sizes.size())
        << "\" stroke-width=\"3\" stroke-linecap=\"round\" stroke-opacity=\"0.8\" d=\""
        << path->second << "\"/>\n";
  }
}

void cutoffLine(std::ostream& out, const Frame& f, double cutoff, const std::string& label,
                const char* colour) {
  const double y = f.y(plotValue(f.kind, cutoff));
  out << "<g stroke=\"" << colour << "\" fill=\"" << colour << "\" font-size=\"11\"><path d=\"M"
      << kLeft << ' ' << px(y) << "H" << kRight
      << "\" stroke-dasharray=\"6 4\"/><text stroke=\"none\" x=\"" << kRight - 4 << "\" y=\""
      << px(y - 4) << "\" text-anchor=\"end\">" << svgEscaped(label) << "</text></g>\n";
}

// The run's cut-off, the first phase's behind a refinement, and the suggested one
// when it differs.
void cutoffLines(std::ostream& out, const Frame& f, const LoadedRun& in) {
  if (!std::isnan(in.figures.firstCutoff) && !in.contextRows.empty()) {
    cutoffLine(out, f, in.figures.firstCutoff,
               "first-phase cut-off " + exactRealText(in.figures.firstCutoff), "#666");
  }
  if (!std::isnan(in.figures.cutoff))
    cutoffLine(out, f, in.figures.cutoff, in.figures.cutoffLabel, "#c00");
  if (!std::isnan(in.figures.suggestedCutoff) && in.figures.suggestedCutoff != in.figures.cutoff) {
    cutoffLine(out, f, in.figures.suggestedCutoff,
               "suggested cut-off " + exactRealText(in.figures.suggestedCutoff), "#e69500");
  }
}

void gcLine(std::ostream& out, const Frame& f, const LoadedRun& in,
            const std::vector<std::pair<double, double>>& values, std::int64_t step) {
  out << "<path fill=\"none\" stroke=\"#333\" stroke-width=\"1\" d=\"";
  char op = 'M';
  for (const auto& v : values) {
    out << op << px(v.first) << ' ' << px(f.gcY(v.second));
    op = 'L';
  }
  const double mean = f.gcY(in.figures.gcPercent);
  out << "\"/>\n<g stroke=\"#06c\" fill=\"#06c\" font-size=\"11\"><path d=\"M" << kLeft << ' '
      << px(mean) << "H" << kRight << "\" stroke-dasharray=\"4 3\"/><text stroke=\"none\" x=\""
      << kRight + 6 << "\" y=\"" << px(mean + 4) << "\">genome mean "
      << numberText("%.1f", in.figures.gcPercent) << " %</text></g>\n<text x=\"" << kLeft + 4
      << "\" y=\"" << kGcTop - 4 << "\" font-size=\"11\">GC % in " << step
      << " bp windows</text>\n";
}

// One entry per window size (at most twelve, then a count of the rest), the island
// band and the lines, in the column right of the plot.
void legend(std::ostream& out, const std::vector<std::int64_t>& sizes, const LoadedRun& in) {
  const std::size_t shown = std::min<std::size_t>(sizes.size(), 12);
  const double x = kRight + 20;
  double y = kPlotTop + 4;
  out << "<g font-size=\"11\">\n";
  for (std::size_t s = 0; s < shown; ++s, y += 15) {
    out << "<circle cx=\"" << x + 4 << "\" cy=\"" << y - 4 << "\" r=\"4\" fill=\""
        << colour(s, sizes.size()) << "\"/><text x=\"" << x + 14 << "\" y=\"" << y << "\">window "
        << sizes[s] << "</text>\n";
  }
  if (sizes.size() > shown) {
    out << "<text x=\"" << x + 14 << "\" y=\"" << y << "\">+" << sizes.size() - shown
        << " more sizes</text>\n";
    y += 15;
  }
  if (!in.contextRows.empty()) {
    out << "<circle cx=\"" << x + 4 << "\" cy=\"" << y - 4 << "\" r=\"4\" fill=\"#bbb\"/><text x=\""
        << x + 14 << "\" y=\"" << y << "\">first phase</text>\n";
    y += 15;
  }
  out << "<rect x=\"" << x << "\" y=\"" << y - 8 << "\" width=\"9\" height=\"9\" fill=\"#f6b6b6\"/>"
      << "<text x=\"" << x + 14 << "\" y=\"" << y << "\">island</text>\n";
  if (!std::isnan(in.figures.cutoff)) {
    y += 15;
    out << "<path d=\"M" << x << ' ' << y - 4 << "h10\" stroke=\"#c00\" stroke-dasharray=\"3 2\"/>"
        << "<text x=\"" << x + 14 << "\" y=\"" << y << "\">cut-off</text>\n";
  }
  out << "</g>\n";
}

}  // namespace

std::string sizeColour(std::size_t s, std::size_t n) {
  if (n <= 10) return kPalette[s];
  return "hsl(" + std::to_string(static_cast<int>(300.0 * s / (n - 1))) + ",70%,42%)";
}

std::vector<PlotPoint> thinnedPoints(const std::vector<ScoreRow>& scoreRows, ScoreKind kind,
                                     std::int64_t genomeLength, double yMin, double yMax,
                                     int columns, int rows, std::size_t budget) {
  const double length = static_cast<double>(genomeLength);
  std::map<std::pair<int, int>, const ScoreRow*> cells;
  for (;; columns = std::max(1, columns / 2), rows = std::max(1, rows / 2)) {
    cells.clear();
    for (const ScoreRow& r : scoreRows) {
      const double centre = static_cast<double>(r.start + r.end) / 2.0;
      const int column = std::min(columns - 1, static_cast<int>(centre / length * columns));
      const int row = std::min(
          rows - 1, static_cast<int>((plotValue(kind, r.value) - yMin) / (yMax - yMin) * rows));
      const ScoreRow*& kept = cells[{column, row}];
      if (!kept || stronger(kind, r.value, kept->value)) kept = &r;
    }
    if (cells.size() <= budget || (columns == 1 && rows == 1)) break;
  }
  std::vector<PlotPoint> kept;
  kept.reserve(cells.size());
  for (const auto& cell : cells) {
    const ScoreRow& r = *cell.second;
    kept.push_back({static_cast<double>(r.start + r.end) / 2.0, plotValue(kind, r.value), r.size});
  }
  return kept;
}

std::string svgEscaped(const std::string& text) {
  return htmlEscaped(text);
}

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

std::vector<double> valueTicks(double yMin, double yMax) {
  if (yMin == 0.0) return roundTicks(yMax);
  const std::vector<double> spaced = roundTicks(yMax - yMin);
  const double step = spaced.size() > 1 ? spaced[1] : yMax - yMin;
  std::vector<double> ticks;
  for (double k = std::ceil(yMin / step - 1e-9); k * step <= yMax * (1 + 1e-9); ++k)
    ticks.push_back(k * step);
  return ticks;
}

double plotBottom(const LoadedRun& in) {
  if (in.kind == ScoreKind::kPValue) return 0.0;
  double low = 0.0;
  for (const ScoreRow& r : in.rows) low = std::min(low, r.value);
  if (!std::isnan(in.figures.cutoff)) low = std::min(low, in.figures.cutoff);
  if (low == 0.0) return 0.0;
  // A round tick at or below the lowest value, on the steps of the whole range.
  const std::vector<double> spaced = roundTicks(plotTop(in) - low);
  const double step = spaced.size() > 1 ? spaced[1] : -low;
  return std::floor(low / step) * step;
}

double plotTop(const LoadedRun& in) {
  // p-values: at least 1 (p = 0.1); scores: at least 0.01.
  double top = in.kind == ScoreKind::kPValue ? 1.0 : 0.01;
  const auto reach = [&](double value) { top = std::max(top, plotValue(in.kind, value)); };
  for (const ScoreRow& r : in.rows) reach(r.value);
  for (const ScoreRow& r : in.contextRows) reach(r.value);
  for (double cutoff : {in.figures.firstCutoff, in.figures.cutoff, in.figures.suggestedCutoff})
    if (!std::isnan(cutoff)) reach(cutoff);
  // The axis ends at a round tick at or above the largest value.
  double end = roundTicks(top).back();
  for (double reach = top; end < top; reach *= 1.1) end = roundTicks(reach).back();
  return end;
}

void writeSvg(std::ostream& out, const LoadedRun& in, std::size_t pointBudget, bool standalone) {
  std::set<std::int64_t> sizeSet;
  for (const ScoreRow& r : in.rows) sizeSet.insert(r.size);
  const std::vector<std::int64_t> sizes(sizeSet.begin(), sizeSet.end());
  const std::int64_t length = in.genome.length;
  Frame f{static_cast<double>(length), plotBottom(in), plotTop(in), 0, 0, in.kind};
  const std::int64_t step = std::max<std::int64_t>(1000, length / 600);
  std::vector<std::pair<double, double>> gc;
  double low = 100;
  double high = 0;
  for (std::int64_t s = 0; s < length; s += step) {
    const std::int64_t e = std::min(length, s + step);
    gc.push_back({f.x((s + e) / 2.0), gcPercent(in.genome.letters, s, e)});
    low = std::min(low, gc.back().second);
    high = std::max(high, gc.back().second);
  }
  f.gcLow = std::floor(std::min(low, in.figures.gcPercent) / 10) * 10;
  f.gcHigh = std::max(f.gcLow + 10, std::ceil(std::max(high, in.figures.gcPercent) / 10) * 10);

  const std::string title =
      recordName(in, 0) +
      (in.genome.records.size() > 1
           ? " and " + std::to_string(in.genome.records.size() - 1) + " more records"
           : "");
  if (standalone) out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" "
      << "width=\"" << kWidth << "\" height=\"" << kHeight << "\" viewBox=\"0 0 " << kWidth << ' '
      << kHeight << "\" font-family=\"sans-serif\">\n<rect width=\"100%\" height=\"100%\" "
      << "fill=\"white\"/>\n<text x=\"" << kLeft << "\" y=\"24\" font-size=\"14\">"
      << svgEscaped(title) << " (" << length << " letters): window scores "
      << svgEscaped(in.scoresFile) << ", islands "
      << (in.kind == ScoreKind::kPValue ? svgEscaped(in.islandsFile)
                                        : std::string("from 1-kbp bins at or above the cut-off"))
      << "</text>\n"
      << "<text x=\"" << kLeft << "\" y=\"42\" font-size=\"11\" fill=\"#555\">genome "
      << svgEscaped(in.genomeFile) << "; " << in.rows.size() << " window rows, "
      << in.islands.size() << " islands</text>\n";
  islandBands(out, f, in);
  recordBoundaries(out, f, in);
  axes(out, f);
  points(out, f, in, sizes, pointBudget);
  cutoffLines(out, f, in);
  gcLine(out, f, in, gc, step);
  legend(out, sizes, in);
  out << "</svg>\n";
}

}  // namespace morvale::report
