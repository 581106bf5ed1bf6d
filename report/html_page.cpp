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
  const RunRecord* first = in.firstRecord ? &*in.firstRecord : nullptr;
  const RunRecord* refinement =
      in.record && in.record->get(record_key::kPhase) == kRefinementPhase ? &*in.record : nullptr;
  const RunRecord* natural =
      in.record && in.record->get(record_key::kPhase) == kNaturalPhase ? &*in.record : nullptr;
  if (!first && !refinement && !natural) return;
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
  if (natural) {
    const RunRecord& r = *natural;
    out << "<dl class=\"facts\"><dt><b>natural scan</b></dt><dd></dd>\n";
    fact(out, "program", r.get(record_key::kProgram));
    fact(out, "window, step",
         r.get(record_key::kNaturalWindow) + ", " + r.get(record_key::kNaturalStep));
    fact(out, "shortest island", r.get(record_key::kNaturalMinLength));
    fact(out, "windows scored", r.get(record_key::kWindowsTested));
    fact(out, "windows called", r.get(record_key::kWindowsCalled));
    fact(out, "cut-off", r.get(record_key::kCutoff));
    fact(out, "no islands", r.get(record_key::kNoIslands));
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
    const Feature& f = in.annotation->features[i];
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

// What an island's genes say of it: the fraction of its scored genes that are
// atypical, their median atypicality, its GC3 deviation and the atypical genes by
// name; missing values sort first.
void evidenceCells(std::ostream& out, const LoadedRun& in, const Piece& p) {
  const IslandEvidence& e = in.figures.evidence[p.island];
  const bool scored = e.scoredGenes > 0;
  const auto number = [&](double value, const char* format) {
    out << "<td data-value=\"" << (scored ? numberText("%.6g", value) : "-1e308") << "\">"
        << (scored ? numberText(format, value) : "NA") << "</td>";
  };
  out << "<td data-value=\"" << (scored ? numberText("%.6g", e.atypicalFraction) : "-1e308")
      << "\">" << e.atypicalGenes << " of " << e.scoredGenes << "</td>";
  number(e.medianAtypicality, "%.2f");
  number(e.gc3Deviation, "%+.1f");
  out << "<td class=\"text atypical\">"
      << (e.atypical.empty() ? "" : htmlEscaped(featureNames(in, e.atypical))) << "</td>";
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
  if (!links.evidence.empty())
    out << "<a href=\"" << htmlEscaped(urlEncoded(links.evidence)) << "\">evidence (TSV)</a>";
  out << in.islands.size() << " islands; positions 1-based within each record, as in the file."
      << "</p>\n<table id=\"islands\" class=\"sortable\"><thead><tr><th class=\"text\">island</th>"
      << "<th class=\"text\">record</th><th data-type=\"number\">start</th>"
      << "<th data-type=\"number\">end</th><th data-type=\"number\">length</th>"
      << "<th data-type=\"number\">window rows</th><th data-type=\"number\">"
      << (in.kind == ScoreKind::kPValue ? "best p" : "best score") << "</th>"
      << "<th data-type=\"number\">GC %</th><th data-type=\"number\">&Delta;GC</th>"
      << "<th class=\"text\"></th>" << (in.annotation ? "<th class=\"text\">genes</th>" : "")
      << (in.figures.evidence.empty()
              ? ""
              : "<th data-type=\"number\">atypical genes</th><th data-type=\"number\">median "
                "atypicality</th><th data-type=\"number\">&Delta;GC3</th><th "
                "class=\"text\">atypical</th>")
      << "</tr></thead><tbody>\n";
  for (const Piece& p : in.figures.pieces) {
    const Island& island = in.islands[p.island];
    const std::string record = recordName(in, p.record);
    const std::string coords =
        record + ":" + std::to_string(p.start + 1) + "-" + std::to_string(p.end);
    const double best = island.windows ? island.best : in.kind == ScoreKind::kPValue ? 1.0 : 0.0;
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
    if (in.annotation) geneCell(out, in, p);
    if (!in.figures.evidence.empty()) evidenceCells(out, in, p);
    out << "</tr>\n";
  }
  out << "</tbody></table><p id=\"status\" role=\"status\"></p></section>\n";
}

// What the script needs to draw the plot at any zoom.
void plotData(std::ostream& out, const LoadedRun& in) {
  const double yMin = plotBottom(in), yMax = plotTop(in);
  std::set<std::int64_t> sizeSet;
  for (const ScoreRow& r : in.rows) sizeSet.insert(r.size);
  const std::vector<std::int64_t> sizes(sizeSet.begin(), sizeSet.end());
  out << "{\"length\":" << in.genome.length << ",\"yLabel\":" << jsonString(valueAxisLabel(in.kind))
      << ",\"yMin\":" << exactRealText(yMin) << ",\"yMax\":" << exactRealText(yMax)
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
  // Points as flat triples: centre (letters), height (plotValue) in thousandths, size
  // index.
  out << "],\"points\":[";
  bool firstPoint = true;
  for (const PlotPoint& p : thinnedPoints(in.rows, in.kind, in.genome.length, yMin, yMax,
                                          kZoomColumns, kZoomRows, kZoomBudget)) {
    const auto size = std::lower_bound(sizes.begin(), sizes.end(), p.size) - sizes.begin();
    out << (firstPoint ? "" : ",") << std::llround(p.position) << ","
        << std::llround(p.score * 1000) << "," << size;
    firstPoint = false;
  }
  // The first phase's rows behind a refinement's, as pairs.
  out << "],\"context\":[";
  firstPoint = true;
  for (const PlotPoint& p : thinnedPoints(in.contextRows, in.kind, in.genome.length, yMin, yMax,
                                          kZoomColumns, kZoomRows, kZoomBudget / 2)) {
    out << (firstPoint ? "" : ",") << std::llround(p.position) << ","
        << std::llround(p.score * 1000);
    firstPoint = false;
  }
  out << "],\"cutoffs\":[";
  bool firstCutoff = true;
  const auto cutoff = [&](double value, const std::string& label, const char* colour) {
    if (std::isnan(value)) return;
    out << (firstCutoff ? "" : ",") << "[" << exactRealText(plotValue(in.kind, value)) << ","
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
  const std::vector<Feature> none;
  for (const Feature& f : in.annotation ? in.annotation->features : none) {
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
      << "<style>\n"
      << kPageStyle << "</style></head>\n<body>\n<h1>Genomic islands of " << htmlEscaped(title)
      << "</h1>\n<p>Window scores " << htmlEscaped(baseName(in.scoresFile)) << ", islands "
      << (in.kind == ScoreKind::kPValue ? htmlEscaped(baseName(in.islandsFile))
                                        : std::string("from 1-kbp bins at or above the cut-off"))
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
  out << "</script>\n<script>\n"
      << kSortScript << "\n"
      << kPageScript << "</script>\n</body></html>\n";
}

}  // namespace morvale::report
