#include "report/tracks.h"

#include <algorithm>
#include <cstdlib>

#include "base/number_text.h"
#include "base/tsv_text.h"
#include "genome/gff3_text.h"
#include "islands/islands_fasta.h"

namespace morvale::report {

namespace {

// The names of features `which` as a GFF3 attribute's list of values.
std::string gffNames(const LoadedRun& in, const std::vector<std::size_t>& which) {
  std::string list;
  for (std::size_t i : which) {
    list += (list.empty() ? "" : ",") +
            gff3Escaped(featureName(in.annotation->features[i]), Gff3Column::kAttributeValue);
  }
  return list;
}

// The island's strongest value as the tracks and the table write it.
std::string bestText(const Island& island, const char* format) {
  return island.windows ? numberText(format, island.best) : std::string("NA");
}

// The name of that value: best_p, or best_score for natural scores.
const char* bestName(const LoadedRun& in) {
  return in.kind == ScoreKind::kPValue ? "best_p" : "best_score";
}

// The score columns of feature `f` in genes.tsv: NA for a feature that is not a
// scored protein-coding gene.
std::string geneScoreCells(const LoadedRun& in, std::size_t f) {
  const GeneScore* g = geneScoreOf(*in.geneScores, f);
  if (!g || !g->scored) return "\tNA\tNA\tNA\tNA\tNA";
  return "\t" + numberText("%.4f", g->codonBias) + "\t" + numberText("%.4f", g->gc3) + "\t" +
         numberText("%.4f", g->dinucleotideDistance) + "\t" + numberText("%.3f", g->atypicality) +
         "\t" + (g->atypical ? "yes" : "no");
}

}  // namespace

void writeBed(std::ostream& out, const LoadedRun& in) {
  double top = 0.0;
  for (const Island& island : in.islands)
    if (island.windows) top = std::max(top, plotValue(in.kind, island.best));
  for (const Piece& piece : in.figures.pieces) {
    const Island& island = in.islands[piece.island];
    const double best = island.windows ? plotValue(in.kind, island.best) : 0.0;
    const long score = top > 0.0 ? std::lround(1000.0 * best / top) : 0;
    out << recordName(in, piece.record) << '\t' << piece.start << '\t' << piece.end << '\t'
        << pieceName(piece) << '\t' << score << "\t.\n";
  }
}

void writeGff3(std::ostream& out, const LoadedRun& in) {
  out << "##gff-version 3\n";
  for (std::size_t r = 0; r < in.genome.records.size(); ++r) {
    if (in.genome.records[r].length > 0)
      out << "##sequence-region " << gff3Escaped(recordName(in, r), Gff3Column::kSeqid) << " 1 "
          << in.genome.records[r].length << '\n';
  }
  for (const Piece& piece : in.figures.pieces) {
    const Island& island = in.islands[piece.island];
    out << gff3Escaped(recordName(in, piece.record), Gff3Column::kSeqid)
        << "\tmorvale\tgenomic_island\t" << piece.start + 1 << '\t' << piece.end
        << "\t.\t.\t.\tID=" << pieceName(piece);
    if (piece.parts > 1) {
      out << ";island=island_" << piece.island + 1 << ";part=" << piece.part << "/" << piece.parts;
    }
    out << ";windows=" << island.windows << ";" << bestName(in) << "=" << bestText(island, "%g")
        << ";gc=" << numberText("%.2f", piece.gcPercent);
    if (in.annotation) {
      const IslandGenes& g = in.figures.islandGenes[piece.island];
      out << ";genes=" << g.genes.size();
      if (!g.mobility.empty()) out << ";mobility_genes=" << gffNames(in, g.mobility);
      if (!g.trnaSites.empty()) out << ";trna_sites=" << gffNames(in, g.trnaSites);
    }
    out << '\n';
  }
}

void writeTable(std::ostream& out, const LoadedRun& in) {
  out << "island\trecord\tstart\tend\tlength\twindows\t" << bestName(in) << "\tGC%\tdGC%"
      << (in.annotation ? "\tgenes\tmobility_genes\ttRNA_sites" : "") << "\n";
  std::int64_t total = 0;
  int windows = 0;
  for (const Piece& piece : in.figures.pieces) {
    const Island& island = in.islands[piece.island];
    total += piece.end - piece.start;
    if (piece.part == 1) windows += island.windows;
    out << pieceName(piece) << '\t' << tsvField(recordName(in, piece.record)) << '\t'
        << piece.start + 1 << '\t' << piece.end << '\t' << piece.end - piece.start << '\t'
        << island.windows << '\t' << bestText(island, "%.3g") << '\t'
        << numberText("%.1f", piece.gcPercent) << '\t'
        << numberText("%+.1f", piece.gcPercent - in.figures.gcPercent);
    if (in.annotation) {
      const IslandGenes& g = in.figures.islandGenes[piece.island];
      out << '\t' << g.genes.size() << '\t' << tsvField(featureNames(in, g.mobility)) << '\t'
          << tsvField(featureNames(in, g.trnaSites));
    }
    out << '\n';
  }
  out << "total\t" << in.islands.size() << " islands\t\t\t" << total << '\t' << windows << "\t\t"
      << numberText("%.1f", in.figures.gcPercent) << " (genome)\t"
      << (in.annotation ? "\t\t\t" : "") << "\n";
  // How the first phase chose its cut-off, when its record says.
  if (!in.firstRecord || in.firstRecord->get(record_key::kCutoff).empty()) return;
  const RunRecord& r = *in.firstRecord;
  out << "# first-phase cut-off " << r.get(record_key::kCutoff);
  if (r.get(record_key::kCutoffRule) == kRankRule) {
    out << ", the "
        << numberText("%g", 100 * std::strtod(r.get(record_key::kAutoFraction).c_str(), nullptr))
        << " % most significant of " << r.get(record_key::kWindowsTested) << " windows tested";
  } else {
    out << " (given), " << r.get(record_key::kWindowsTested) << " windows tested";
  }
  out << "\n";
}

void writeGenes(std::ostream& out, const LoadedRun& in) {
  out << "island\tisland_record\tisland_start\tisland_end\ttype\tlocus_tag\tgene\tproduct\t"
         "start\tend\tstrand\tmobility\ttRNA_site\tinside"
      << (in.geneScores ? "\tcodon_bias\tGC3\tdinucleotide_distance\tatypicality\tatypical" : "")
      << "\n";
  for (std::size_t i = 0; i < in.figures.islandGenes.size(); ++i) {
    const IslandGenes& g = in.figures.islandGenes[i];
    std::vector<std::size_t> all = g.genes;
    for (std::size_t t : g.trnaSites)
      if (std::find(all.begin(), all.end(), t) == all.end()) all.push_back(t);
    std::sort(all.begin(), all.end());
    const Piece* first = nullptr;
    for (const Piece& p : in.figures.pieces)
      if (p.island == i && !first) first = &p;
    for (std::size_t f : all) {
      const Feature& feature = in.annotation->features[f];
      const bool inside = std::find(g.genes.begin(), g.genes.end(), f) != g.genes.end();
      const bool mobility = std::find(g.mobility.begin(), g.mobility.end(), f) != g.mobility.end();
      const bool site = std::find(g.trnaSites.begin(), g.trnaSites.end(), f) != g.trnaSites.end();
      out << "island_" << i + 1 << '\t' << (first ? tsvField(recordName(in, first->record)) : "")
          << '\t' << (first ? first->start + 1 : 0) << '\t' << (first ? first->end : 0) << '\t'
          << featureTypeName(feature.kind) << '\t' << tsvField(feature.locusTag) << '\t'
          << tsvField(feature.gene) << '\t' << tsvField(feature.product) << '\t'
          << (feature.partialStart ? "<" : "") << feature.start() + 1 << '\t'
          << (feature.partialEnd ? ">" : "") << feature.end() << '\t'
          << (feature.complement ? '-' : '+') << '\t' << (mobility ? "yes" : "no") << '\t'
          << (site ? "yes" : "no") << '\t' << (inside ? "yes" : "no");
      if (in.geneScores) out << geneScoreCells(in, f);
      out << '\n';
    }
  }
}

void writeEvidence(std::ostream& out, const LoadedRun& in) {
  out << "island\tisland_record\tisland_start\tisland_end\tgenes\tscored_genes\tatypical_genes\t"
         "atypical_fraction\tmedian_atypicality\tGC3_deviation\tmobility_genes\ttRNA_sites\t"
         "atypical_gene_names\n";
  for (std::size_t i = 0; i < in.figures.evidence.size(); ++i) {
    const IslandEvidence& e = in.figures.evidence[i];
    const IslandGenes& g = in.figures.islandGenes[i];
    const Piece* first = nullptr;
    for (const Piece& p : in.figures.pieces)
      if (p.island == i && !first) first = &p;
    const bool scored = e.scoredGenes > 0;
    out << "island_" << i + 1 << '\t' << (first ? tsvField(recordName(in, first->record)) : "")
        << '\t' << (first ? first->start + 1 : 0) << '\t' << (first ? first->end : 0) << '\t'
        << e.genes << '\t' << e.scoredGenes << '\t' << e.atypicalGenes << '\t'
        << (scored ? numberText("%.3f", e.atypicalFraction) : "NA") << '\t'
        << (scored ? numberText("%.3f", e.medianAtypicality) : "NA") << '\t'
        << (scored ? numberText("%+.2f", e.gc3Deviation) : "NA") << '\t'
        << tsvField(featureNames(in, g.mobility)) << '\t' << tsvField(featureNames(in, g.trnaSites))
        << '\t' << tsvField(featureNames(in, e.atypical)) << '\n';
  }
}

bool islandsFasta(const LoadedRun& in, const std::vector<std::string>& recordLetters,
                  std::string& text, std::string& error) {
  bool matches = recordLetters.size() == in.genome.records.size();
  for (std::size_t r = 0; matches && r < recordLetters.size(); ++r)
    matches = static_cast<std::int64_t>(recordLetters[r].size()) == in.genome.records[r].length;
  if (!matches) {
    error = in.genomeFile + " changed while being read (its letters no longer match its records)";
    return false;
  }
  std::vector<IslandLetters> islands;
  for (const Piece& p : in.figures.pieces) {
    const std::string& letters = recordLetters[p.record];
    islands.push_back({pieceName(p), recordName(in, p.record), p.start + 1, p.end,
                       letters.substr(static_cast<std::size_t>(p.start),
                                      static_cast<std::size_t>(p.end - p.start))});
  }
  text = islandsFastaText(islands);
  return true;
}

}  // namespace morvale::report
