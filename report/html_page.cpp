#include "report/html_page.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "base/file_paths.h"
#include "base/number_text.h"
#include "report/html_assets.h"
#include "report/svg_plot.h"

namespace morvale::report {

namespace {

// Points the page carries for zooming in: a grid of 8000 x 400 cells over the
// genome, at most 50,000 of them (the static plot keeps 20,000).
constexpr int kZoomColumns = 8000;
constexpr int kZoomRows = 400;
constexpr std::size_t kZoomBudget = 50000;
constexpr std::size_t kStaticBudget = 20000;

void fact(std::ostream& out, const std::string& name, const std::string& value) {
  if (!value.empty())
    out << "<dt>" << htmlEscaped(name) << "</dt><dd>" << htmlEscaped(value) << "</dd>\n";
}

void genomeFacts(std::ostream& out, const LoadedRun& in) {
  out << "<section><h2>Genome</h2><dl class=\"facts\">\n";
  fact(out, "file", in.genomeFile);
  std::string names;
  for (std::size_t r = 0; r < in.genome.records.size() && r < 12; ++r)
    names += (r ? ", " : "") + recordName(in, r);
  if (in.genome.records.size() > 12) names += ", …";
  fact(out, "records", std::to_string(in.genome.records.size()) + " (" + names + ")");
  fact(out, "length", std::to_string(in.genome.length) + " letters A, C, G, T");
  fact(out, "GC", numberText("%.2f", in.figures.gcPercent) + " %");
  out << "</dl></section>\n";
}

// The settings of the run's records, when they are beside the files.
void runFacts(std::ostream& out, const LoadedRun& in) {
  const RunRecord* first = in.hasFirstRecord ? &in.firstRecord : nullptr;
  const RunRecord* refinement =
      in.hasRecord && in.record.get(record_key::kPhase) == kRefinementPhase ? &in.record : nullptr;
  if (!first && !refinement) return;
  out << "<section><h2>Run</h2><div class=\"columns\">\n";
  if (first) {
    const RunRecord& r = *first;
    out << "<dl class=\"facts\"><dt><b>first phase</b></dt><dd></dd>\n";
    fact(out, "program", r.get(record_key::kProgram));
    fact(out, "measure", r.get("measure"));
    fact(out, "k", r.get("tuple_size"));
    fact(out, "window, increment", r.get("window_size") + ", " + r.get("window_increment"));
    fact(out, "pool, draws", r.get("pool_size") + ", " + r.get("draw_count"));
    fact(out, "step", r.get("window_step"));
    fact(out, "windows tested", r.get(record_key::kWindowsTested));
    std::string cutoff = r.get(record_key::kCutoff);
    if (r.get(record_key::kCutoffRule) == kRankRule) {
      cutoff +=
          " (the " +
          numberText("%g", 100 * std::strtod(r.get(record_key::kAutoFraction).c_str(), nullptr)) +
          " % most significant windows)";
    }
    fact(out, "cut-off", cutoff);
    fact(out, "overlapping windows", r.get("overlap_count"));
    fact(out, "seed", r.get(record_key::kSeed));
    fact(out, "started", r.get(record_key::kStarted));
    out << "</dl>\n";
  }
  if (refinement) {
    const RunRecord& r = *refinement;
    out << "<dl class=\"facts\"><dt><b>refinement</b></dt><dd></dd>\n";
    fact(out, "window", r.get("window_size"));
    fact(out, "pool, draws", r.get("pool_size") + ", " + r.get("draw_count"));
    fact(out, "step", r.get("window_step"));
    fact(out, "scans, votes", r.get("scan_count") + ", " + r.get("vote_threshold"));
    fact(out, "cut-off", r.get(record_key::kCutoff));
    fact(out, "seed", r.get(record_key::kSeed));
    out << "</dl>\n";
  }
  out << "</div></section>\n";
}

// The genes of an island, in a cell that opens to list them (without script too).
void geneCell(std::ostream& out, const LoadedRun& in, const Piece& p) {
  const IslandGenes& g = in.figures.islandGenes[p.island];
  out << "<td class=\"text\">";
  if (p.part > 1) {
    out << "see part 1</td>";
    return;
  }
  out << "<details><summary>" << g.genes.size() << " genes";
  if (!g.mobility.empty()) out << ", " << g.mobility.size() << " mobility";
  if (!g.trnaSites.empty()) out << ", tRNA site";
  out << "</summary><ul>";
  std::vector<std::size_t> all = g.genes;
  for (std::size_t t : g.trnaSites)
    if (std::find(all.begin(), all.end(), t) == all.end()) all.push_back(t);
  std::sort(all.begin(), all.end());
  for (std::size_t i : all) {
    const Feature& f = in.annotation.features[i];
    const bool mobility = std::find(g.mobility.begin(), g.mobility.end(), i) != g.mobility.end();
    out << "<li"
        << (mobility    ? " class=\"mobility\""
            : isTrna(f) ? " class=\"trna\""
                        : "")
        << ">" << htmlEscaped(featureName(f)) << " " << htmlEscaped(featureTypeName(f.kind)) << " "
        << f.start() + 1 << "-" << f.end() << (f.complement ? " (-)" : " (+)")
        << (f.product.empty() ? "" : ": " + htmlEscaped(f.product))
        << (mobility ? " [mobility]" : "") << (isTrna(f) ? " [tRNA site]" : "") << "</li>";
  }
  out << "</ul></details></td>";
}

void islandTable(std::ostream& out, const LoadedRun& in, const PageLinks& links) {
  out << "<section><h2>Islands</h2><p class=\"links\">";
  if (!links.bed.empty()) out << "<a href=\"" << htmlEscaped(urlEncoded(links.bed)) << "\">BED</a>";
  if (!links.gff3.empty())
    out << "<a href=\"" << htmlEscaped(urlEncoded(links.gff3)) << "\">GFF3</a>";
  if (!links.tsv.empty())
    out << "<a href=\"" << htmlEscaped(urlEncoded(links.tsv)) << "\">table (TSV)</a>";
  if (!links.genes.empty())
    out << "<a href=\"" << htmlEscaped(urlEncoded(links.genes)) << "\">genes (TSV)</a>";
  out << in.islands.size() << " islands; positions 1-based within each record, as in the file."
      << "</p>\n<table id=\"islands\" class=\"sortable\"><thead><tr><th class=\"text\">island</th>"
      << "<th class=\"text\">record</th><th data-type=\"number\">start</th>"
      << "<th data-type=\"number\">end</th><th data-type=\"number\">length</th>"
      << "<th data-type=\"number\">window rows</th><th data-type=\"number\">best p</th>"
      << "<th data-type=\"number\">GC %</th><th data-type=\"number\">&Delta;GC</th>"
      << "<th class=\"text\"></th>" << (in.annotated ? "<th class=\"text\">genes</th>" : "")
      << "</tr></thead><tbody>\n";
  for (const Piece& p : in.figures.pieces) {
    const Island& island = in.islands[p.island];
    const std::string record = recordName(in, p.record);
    const std::string coords =
        record + ":" + std::to_string(p.start + 1) + "-" + std::to_string(p.end);
    const double best = island.windows ? island.bestP : 1.0;
    out << "<tr id=\"" << htmlEscaped(pieceName(p)) << "\" data-island=\"" << p.island
        << "\" data-coords=\"" << htmlEscaped(coords) << "\"><td class=\"text\">"
        << htmlEscaped(pieceName(p)) << "</td><td class=\"text\">" << htmlEscaped(record)
        << "</td><td data-value=\"" << p.start + 1 << "\">" << p.start + 1
        << "</td><td data-value=\"" << p.end << "\">" << p.end << "</td><td data-value=\""
        << p.end - p.start << "\">" << p.end - p.start << "</td><td data-value=\"" << island.windows
        << "\">" << island.windows << "</td><td data-value=\"" << numberText("%.17g", best) << "\">"
        << (island.windows ? numberText("%.3g", best) : std::string("NA"))
        << "</td><td data-value=\"" << numberText("%.4f", p.gcPercent) << "\">"
        << numberText("%.1f", p.gcPercent) << "</td><td data-value=\""
        << numberText("%.4f", p.gcPercent - in.figures.gcPercent) << "\">"
        << numberText("%+.1f", p.gcPercent - in.figures.gcPercent)
        << "</td><td class=\"text\"><button class=\"copy\" hidden>copy coordinates</button></td>";
    if (in.annotated) geneCell(out, in, p);
    out << "</tr>\n";
  }
  out << "</tbody></table><p id=\"status\" role=\"status\"></p></section>\n";
}

// What the script needs to draw the plot at any zoom.
void plotData(std::ostream& out, const LoadedRun& in) {
  const double yMax = plotTop(in);
  std::set<std::int64_t> sizeSet;
  for (const ScoreRow& r : in.rows) sizeSet.insert(r.size);
  const std::vector<std::int64_t> sizes(sizeSet.begin(), sizeSet.end());
  out << "{\"length\":" << in.genome.length << ",\"yMax\":" << exactRealText(yMax)
      << ",\"records\":[";
  for (std::size_t r = 0; r < in.genome.records.size(); ++r) {
    const GenomeRecord& rec = in.genome.records[r];
    out << (r ? "," : "") << "[" << jsonString(recordName(in, r)) << "," << rec.joinedStart << ","
        << rec.joinedEnd << "]";
  }
  out << "],\"islands\":[";
  for (std::size_t i = 0; i < in.islands.size(); ++i)
    out << (i ? "," : "") << "[" << in.islands[i].start << "," << in.islands[i].end << "]";
  out << "],\"sizes\":[";
  for (std::size_t s = 0; s < sizes.size(); ++s)
    out << (s ? "," : "") << "[" << sizes[s] << "," << jsonString(sizeColour(s, sizes.size()))
        << "]";
  // Points as flat triples: centre (letters), -log10 p in thousandths, size index.
  out << "],\"points\":[";
  bool firstPoint = true;
  for (const PlotPoint& p :
       thinnedPoints(in.rows, in.genome.length, yMax, kZoomColumns, kZoomRows, kZoomBudget)) {
    const auto size = std::lower_bound(sizes.begin(), sizes.end(), p.size) - sizes.begin();
    out << (firstPoint ? "" : ",") << std::llround(p.position) << ","
        << std::llround(p.score * 1000) << "," << size;
    firstPoint = false;
  }
  // The first phase's rows behind a refinement's, as pairs.
  out << "],\"context\":[";
  firstPoint = true;
  for (const PlotPoint& p : thinnedPoints(in.contextRows, in.genome.length, yMax, kZoomColumns,
                                          kZoomRows, kZoomBudget / 2)) {
    out << (firstPoint ? "" : ",") << std::llround(p.position) << ","
        << std::llround(p.score * 1000);
    firstPoint = false;
  }
  out << "],\"cutoffs\":[";
  bool firstCutoff = true;
  const auto cutoff = [&](double value, const std::string& label, const char* colour) {
    if (std::isnan(value)) return;
    out << (firstCutoff ? "" : ",") << "[" << exactRealText(minusLog10(value)) << ","
        << jsonString(label) << "," << jsonString(colour) << "]";
    firstCutoff = false;
  };
  if (!in.contextRows.empty())
    cutoff(in.figures.firstCutoff, "first-phase cut-off " + exactRealText(in.figures.firstCutoff),
           "#666");
  cutoff(in.figures.cutoff, in.figures.cutoffLabel, "#c00");
  if (in.figures.suggestedCutoff != in.figures.cutoff)
    cutoff(in.figures.suggestedCutoff,
           "suggested cut-off " + exactRealText(in.figures.suggestedCutoff), "#e69500");
  // Genes as flat triples: start and end in the genome string, and 0 for a gene, 1
  // for a mobility gene, 2 for a tRNA or tmRNA gene.
  out << "],\"genes\":[";
  std::map<std::string, std::size_t> byName;
  for (std::size_t r = 0; r < in.genome.records.size(); ++r) byName.emplace(recordName(in, r), r);
  bool firstGene = true;
  for (const Feature& f : in.annotation.features) {
    const auto record = byName.find(f.record);
    if (record == byName.end()) continue;
    const GenomeRecord& r = in.genome.records[record->second];
    out << (firstGene ? "" : ",") << joinedPosition(r, f.start()) << ","
        << std::max(joinedPosition(r, f.start()) + 1, joinedPosition(r, f.end())) << ","
        << (isMobility(f) ? 1
            : isTrna(f)   ? 2
                          : 0);
    firstGene = false;
  }
  const std::int64_t step = std::max<std::int64_t>(1000, in.genome.length / 2000);
  out << "],\"gcMean\":" << numberText("%.2f", in.figures.gcPercent) << ",\"gcStep\":" << step
      << ",\"gc\":[";
  for (std::int64_t s = 0; s < in.genome.length; s += step) {
    out << (s ? "," : "")
        << numberText("%.1f",
                      gcPercent(in.genome.letters, s, std::min(in.genome.length, s + step)));
  }
  out << "]}";
}

const char* const kPageScript = R"JS(
(function () {
  var data = JSON.parse(document.getElementById('plot-data').textContent);
  var NS = 'http://www.w3.org/2000/svg';
  var W = 1100, L = 64, R = 1080, TOP = 16, BOTTOM = 300, GC_TOP = 330, GC_BOTTOM = 400, H = 450;
  var view = [0, data.length], selected = -1;
  var gcLow = Math.floor(Math.min.apply(null, data.gc.concat([data.gcMean])) / 10) * 10;
  var gcHigh = Math.max(gcLow + 10, Math.ceil(Math.max.apply(null, data.gc.concat([data.gcMean])) / 10) * 10);
  var plot = document.getElementById('plot');
  var rangeText = document.getElementById('range');
  var rows = document.querySelectorAll('#islands tbody tr');

  function el(name, attrs, parent) {
    var e = document.createElementNS(NS, name);
    for (var k in attrs) e.setAttribute(k, attrs[k]);
    if (parent) parent.appendChild(e);
    return e;
  }
  function text(s, attrs, parent) { var t = el('text', attrs, parent); t.textContent = s; return t; }
  function x(pos) { return L + (pos - view[0]) / (view[1] - view[0]) * (R - L); }
  function y(score) { return BOTTOM - score / data.yMax * (BOTTOM - TOP); }
  function gcY(v) { return GC_BOTTOM - (v - gcLow) / (gcHigh - gcLow) * (GC_BOTTOM - GC_TOP); }
  function unitOf(span) { return span < 1e4 ? [1, 'bp'] : span < 2e6 ? [1e3, 'kbp'] : [1e6, 'Mbp']; }
  function niceStep(span) {
    var m = Math.pow(10, Math.floor(Math.log10(span))), steps = [0.1, 0.2, 0.5, 1, 2, 5];
    for (var i = 0; i < steps.length; i++) if (span / (steps[i] * m) <= 10) return steps[i] * m;
    return 10 * m;
  }
  function label(v) { return String(Math.round(v * 1000) / 1000); }

  function render() {
    var svg = el('svg', {viewBox: '0 0 ' + W + ' ' + H, 'font-family': 'sans-serif', 'font-size': 11});
    var clip = el('clipPath', {id: 'plot-area'}, el('defs', {}, svg));
    el('rect', {x: L, y: TOP - 4, width: R - L, height: GC_BOTTOM - TOP + 4}, clip);
    var inner = el('g', {'clip-path': 'url(#plot-area)'}, svg);
    data.islands.forEach(function (isl, i) {
      if (isl[1] < view[0] || isl[0] > view[1]) return;
      var x0 = x(isl[0]), w = Math.max(2, x(isl[1]) - x0);
      [[TOP, BOTTOM], [GC_TOP, GC_BOTTOM]].forEach(function (b) {
        var r = el('rect', {x: x0, y: b[0], width: w, height: b[1] - b[0],
                            'class': 'band' + (i === selected ? ' selected' : '')}, inner);
        r.dataset.island = i;
      });
    });
    data.records.forEach(function (rec) {
      if (rec[1] <= view[0] || rec[1] >= view[1] || rec[1] === rec[2]) return;
      el('path', {d: 'M' + x(rec[1]) + ' ' + TOP + 'V' + GC_BOTTOM, stroke: '#555',
                  'stroke-dasharray': '3 3'}, inner);
      text(rec[0], {x: x(rec[1]) + 3, y: TOP + 10, fill: '#555'}, inner);
    });
    var context = [];
    for (var c = 0; c < data.context.length; c += 2) {
      var q = data.context[c];
      if (q >= view[0] && q <= view[1])
        context.push('M' + x(q).toFixed(1) + ' ' + y(data.context[c + 1] / 1000).toFixed(1) + 'h0');
    }
    if (context.length) el('path', {d: context.join(''), stroke: '#bbb', 'stroke-width': 3,
                                    'stroke-linecap': 'round'}, inner);
    var paths = data.sizes.map(function () { return []; });
    for (var i = 0; i < data.points.length; i += 3) {
      var p = data.points[i];
      if (p < view[0] || p > view[1]) continue;
      paths[data.points[i + 2]].push('M' + x(p).toFixed(1) + ' ' + y(data.points[i + 1] / 1000).toFixed(1) + 'h0');
    }
    paths.forEach(function (d, s) {
      if (d.length) el('path', {d: d.join(''), stroke: data.sizes[s][1], 'stroke-width': 3,
                                'stroke-linecap': 'round', 'stroke-opacity': 0.8}, inner);
    });
    data.cutoffs.forEach(function (c) {
      el('path', {d: 'M' + L + ' ' + y(c[0]) + 'H' + R, stroke: c[2], 'stroke-dasharray': '6 4'}, svg);
      text(c[1], {x: R - 4, y: y(c[0]) - 4, 'text-anchor': 'end', fill: c[2]}, svg);
    });
    var gx = [[], [], []];
    for (var k = 0; k < data.genes.length; k += 3) {
      if (data.genes[k + 1] < view[0] || data.genes[k] > view[1]) continue;
      var g0 = x(data.genes[k]);
      gx[data.genes[k + 2]].push('M' + g0.toFixed(1) + ' ' + (BOTTOM + 14) + 'h' + Math.max(1, x(data.genes[k + 1]) - g0).toFixed(1));
    }
    ['#999', '#d62728', '#2ca02c'].forEach(function (colour, kind) {
      if (gx[kind].length) el('path', {d: gx[kind].join(''), stroke: colour, 'stroke-width': kind ? 8 : 5}, inner);
    });
    var gc = [];
    for (var g = 0; g < data.gc.length; g++) {
      var centre = (g + 0.5) * data.gcStep;
      if (centre >= view[0] - data.gcStep && centre <= view[1] + data.gcStep)
        gc.push((gc.length ? 'L' : 'M') + x(centre).toFixed(1) + ' ' + gcY(data.gc[g]).toFixed(1));
    }
    el('path', {d: gc.join(''), fill: 'none', stroke: '#333'}, inner);
    el('path', {d: 'M' + L + ' ' + gcY(data.gcMean) + 'H' + R, stroke: '#06c', 'stroke-dasharray': '4 3'}, svg);
    text('genome mean ' + data.gcMean + ' %', {x: R - 4, y: GC_TOP - 4, 'text-anchor': 'end', fill: '#06c'}, svg);
    el('path', {d: 'M' + L + ' ' + TOP + 'V' + BOTTOM + 'H' + R + 'M' + L + ' ' + GC_TOP + 'V' + GC_BOTTOM + 'H' + R,
                stroke: '#444', fill: 'none'}, svg);
    var span = view[1] - view[0], unit = unitOf(span), step = niceStep(span / unit[0]) * unit[0];
    for (var t = Math.ceil(view[0] / step) * step; t <= view[1]; t += step) {
      el('path', {d: 'M' + x(t) + ' ' + GC_BOTTOM + 'v5', stroke: '#444'}, svg);
      text(label(t / unit[0]), {x: x(t), y: GC_BOTTOM + 18, 'text-anchor': 'middle'}, svg);
    }
    text('position in the scanned genome (' + unit[1] + ')', {x: (L + R) / 2, y: GC_BOTTOM + 40, 'text-anchor': 'middle'}, svg);
    var ys = niceStep(data.yMax);
    for (var v = 0; v <= data.yMax + 1e-9; v += ys) {
      el('path', {d: 'M' + (L - 5) + ' ' + y(v) + 'h5', stroke: '#444'}, svg);
      text(label(v), {x: L - 8, y: y(v) + 4, 'text-anchor': 'end'}, svg);
    }
    for (var c = gcLow; c <= gcHigh; c += 10)
      text(String(c), {x: L - 8, y: gcY(c) + 4, 'text-anchor': 'end'}, svg);
    text('-log10 p', {transform: 'translate(16 ' + (TOP + BOTTOM) / 2 + ') rotate(-90)', 'text-anchor': 'middle'}, svg);
    text('GC %', {transform: 'translate(16 ' + (GC_TOP + GC_BOTTOM) / 2 + ') rotate(-90)', 'text-anchor': 'middle'}, svg);
    plot.replaceChildren(svg);
    var u = unitOf(data.length);
    rangeText.textContent = label(view[0] / unit[0]) + '–' + label(view[1] / unit[0]) + ' ' + unit[1] +
        ' of ' + label(data.length / u[0]) + ' ' + u[1];
    plot.dataset.view = Math.round(view[0]) + '-' + Math.round(view[1]);
  }

  function setView(from, to) {
    var span = Math.min(data.length, Math.max(Math.min(1000, data.length), to - from));
    from = Math.max(0, Math.min(from, data.length - span));
    view = [from, from + span];
    render();
  }
  function zoom(factor, centre) {
    if (centre === undefined) centre = (view[0] + view[1]) / 2;
    var span = (view[1] - view[0]) * factor;
    setView(centre - (centre - view[0]) * factor, centre - (centre - view[0]) * factor + span);
  }
  function positionAt(clientX) {
    var box = plot.getBoundingClientRect();
    var px = (clientX - box.left) / box.width * W;
    return view[0] + (px - L) / (R - L) * (view[1] - view[0]);
  }
  function select(island) {
    selected = island;
    var first = null;
    rows.forEach(function (row) {
      var on = Number(row.dataset.island) === island;
      row.classList.toggle('selected', on);
      if (on && !first) first = row;
    });
    if (first) first.scrollIntoView({block: 'nearest'});
    render();
  }

  document.getElementById('controls').hidden = false;
  document.getElementById('zoom-in').addEventListener('click', function () { zoom(0.5); });
  document.getElementById('zoom-out').addEventListener('click', function () { zoom(2); });
  document.getElementById('zoom-reset').addEventListener('click', function () { setView(0, data.length); });
  plot.addEventListener('wheel', function (e) {
    e.preventDefault();
    zoom(e.deltaY > 0 ? 1.25 : 0.8, positionAt(e.clientX));
  }, {passive: false});
  var drag = null;
  plot.addEventListener('mousedown', function (e) {
    drag = {x: e.clientX, view: view.slice(), moved: false};
  });
  window.addEventListener('mousemove', function (e) {
    if (!drag) return;
    var dx = e.clientX - drag.x;
    if (Math.abs(dx) > 3) drag.moved = true;
    if (!drag.moved) return;
    var box = plot.getBoundingClientRect();
    var shift = -dx / box.width * W / (R - L) * (drag.view[1] - drag.view[0]);
    setView(drag.view[0] + shift, drag.view[1] + shift);
  });
  window.addEventListener('mouseup', function (e) {
    if (drag && !drag.moved && e.target.dataset && e.target.dataset.island !== undefined)
      select(Number(e.target.dataset.island));
    drag = null;
  });
  rows.forEach(function (row) {
    row.addEventListener('click', function (e) {
      if (e.target.classList.contains('copy')) return;
      var island = Number(row.dataset.island);
      select(island);
      var isl = data.islands[island], margin = (isl[1] - isl[0]) * 2 + 5000;
      if (isl[0] < view[0] || isl[1] > view[1]) setView(isl[0] - margin, isl[1] + margin);
    });
  });
  var status = document.getElementById('status');
  document.querySelectorAll('button.copy').forEach(function (button) {
    button.hidden = false;
    button.addEventListener('click', function () {
      var coords = button.closest('tr').dataset.coords;
      function fallback() {
        var area = document.createElement('textarea');
        area.value = coords;
        document.body.appendChild(area);
        area.select();
        try { document.execCommand('copy'); } catch (err) { /* the status still shows them */ }
        area.remove();
      }
      if (navigator.clipboard && navigator.clipboard.writeText)
        navigator.clipboard.writeText(coords).catch(fallback);
      else fallback();
      status.textContent = 'Copied ' + coords;
    });
  });
  sortableTables();
  render();
})();
)JS";

}  // namespace

void writeHtmlPage(std::ostream& out, const LoadedRun& in, const PageLinks& links) {
  const std::string title =
      recordName(in, 0) +
      (in.genome.records.size() > 1
           ? " and " + std::to_string(in.genome.records.size() - 1) + " more records"
           : "");
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
      << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      << "<title>Morvale: " << htmlEscaped(title)
      << "</title>\n<link rel=\"icon\" href=\"data:,\">\n"
      << "<style>" << kPageStyle << "</style></head>\n<body>\n<h1>Genomic islands of "
      << htmlEscaped(title) << "</h1>\n<p>Window scores " << htmlEscaped(baseName(in.scoresFile))
      << ", islands " << htmlEscaped(baseName(in.islandsFile))
      << (in.contextRows.empty() ? "" : "; the first phase's window scores in grey behind")
      << ".</p>\n";
  genomeFacts(out, in);
  runFacts(out, in);
  out << "<section><h2>Scores along the genome</h2>\n<div id=\"controls\" hidden>"
      << "<button id=\"zoom-in\" title=\"zoom in\">+</button>"
      << "<button id=\"zoom-out\" title=\"zoom out\">&minus;</button>"
      << "<button id=\"zoom-reset\">whole genome</button>"
      << "<span>wheel to zoom, drag to move, click an island to find it in the table</span>"
      << "<span id=\"range\"></span></div>\n<div id=\"plot\">\n";
  writeSvg(out, in, kStaticBudget, false);
  out << "</div></section>\n";
  islandTable(out, in, links);
  out << "<script id=\"plot-data\" type=\"application/json\">";
  plotData(out, in);
  out << "</script>\n<script>" << kSortScript << kPageScript << "</script>\n</body></html>\n";
}

}  // namespace morvale::report
