#include "report/report.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <utility>

#include "base/file_paths.h"
#include "base/number_text.h"
#include "base/tokens.h"
#include "base/tsv_text.h"
#include "base/whole_file.h"
#include "genome/annotated_genome.h"
#include "genome/gff3_text.h"
#include "genome/letters_checksum.h"
#include "islands/auto_cutoff.h"
#include "islands/result_files.h"

namespace morvale::report {

namespace {

// The records of the measure whose window-score files `scoresFile` is one of.
bool recordsOf(const std::string& scoresFile, ResultFileNames& there, bool& first) {
  const std::size_t slash = scoresFile.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : scoresFile.substr(0, slash);
  const std::string name = baseName(scoresFile);
  for (int measure = 1; measure <= 3; ++measure) {
    const ResultFileNames bare = resultFileNames(measure);
    first = name == bare.firstScores;
    if (first || name == bare.refinementScores) {
      there = resultFileNames(measure, folder);
      return true;
    }
  }
  return false;
}

std::int64_t length(const LoadedRun& in) {
  return in.genome.length;
}

// Reads the window-score rows of `file` into `rows`.
bool readScores(LoadedRun& in, const std::string& file, bool noScoresIsEmpty,
                std::vector<ScoreRow>& rows, std::string& error) {
  std::string text;
  if (!readWholeFile(file, text)) {
    if (noScoresIsEmpty && errno == ENOENT) return true;
    error = file + ": cannot open the window-score file";
    return false;
  }
  std::int64_t bad = 0;
  const std::vector<WindowScoreRow> read = parseWindowScoreRows(text, bad);
  if (bad) {
    error = file + ": row " + std::to_string(bad) + " is not a window-score row";
    return false;
  }
  std::int64_t number = 0;
  for (const WindowScoreRow& row : read) {
    ++number;
    const std::int64_t centre = centreInteger(row.windowCentre);
    const ScoreRow r{row.windowSize, spanStart(row.windowSize, centre),
                     spanEnd(row.windowSize, centre), row.pValue};
    if (r.start < 0 || r.end > length(in)) {
      error = file + ": row " + std::to_string(number) + " (window " + std::to_string(r.start) +
              "-" + std::to_string(r.end) + ") lies beyond the " + std::to_string(length(in)) +
              " letters of the genome";
      return false;
    }
    rows.push_back(r);
  }
  return true;
}

// True for a refinement's window-score file, with `there` its folder's file names.
bool isRefinement(const std::string& scoresFile, ResultFileNames& there) {
  bool first = true;
  return recordsOf(scoresFile, there, first) && !first;
}

// For a refinement's window-score file, the first phase's rows beside it, when
// they are there and can be read.
void readContext(LoadedRun& in) {
  ResultFileNames there;
  if (!isRefinement(in.scoresFile, there)) return;
  std::string ignored;
  if (!readScores(in, there.firstScores, false, in.contextRows, ignored)) in.contextRows.clear();
}

bool readIslands(LoadedRun& in, std::string& error) {
  std::string text;
  if (!readWholeFile(in.islandsFile, text)) {
    error = in.islandsFile + ": cannot open the islands file";
    return false;
  }
  std::vector<long long> values;
  for (std::size_t at = 0;;) {
    at = text.find_first_not_of(" \t\r\n\v\f", at);
    if (at == std::string::npos) break;
    const std::size_t end = std::min(text.find_first_of(" \t\r\n\v\f", at), text.size());
    long long v = 0;
    if (!parseInteger(std::string_view(text).substr(at, end - at), v)) {
      error = in.islandsFile + ": holds text where a number was expected";
      return false;
    }
    values.push_back(v);
    at = end;
  }
  for (std::size_t i = 0; i < values.size(); i += 2) {
    const std::string number = std::to_string(i / 2 + 1);
    if (i + 1 == values.size()) {
      error = in.islandsFile + ": island " + number + " has no end";
      return false;
    }
    // Islands files write a start of 0 as 1: such an island reaches the genome's start.
    const std::int64_t start = values[i] == 1 ? 0 : values[i];
    const std::int64_t end = values[i + 1];
    if (start < 0 || end <= start || end > length(in)) {
      error = in.islandsFile + ": island " + number + " (" + std::to_string(start) + "-" +
              std::to_string(end) + ") does not lie within the " + std::to_string(length(in)) +
              " letters of the genome";
      return false;
    }
    in.islands.push_back(Island{start, end});
  }
  return true;
}

// Counts, for every island, the window rows whose span lies inside it and their
// best p-value; rows are visited in start order so each island looks at its own.
void summariseIslands(LoadedRun& in) {
  in.figures.pieces.clear();
  std::vector<ScoreRow> rows = in.rows;
  std::sort(rows.begin(), rows.end(),
            [](const ScoreRow& a, const ScoreRow& b) { return a.start < b.start; });
  for (std::size_t i = 0; i < in.islands.size(); ++i) {
    Island& island = in.islands[i];
    island.windows = 0;
    island.bestP = 1.0;
    auto it = std::lower_bound(rows.begin(), rows.end(), island.start,
                               [](const ScoreRow& r, std::int64_t s) { return r.start < s; });
    for (; it != rows.end() && it->start < island.end; ++it) {
      if (it->end <= island.end) {
        ++island.windows;
        island.bestP = std::min(island.bestP, it->p);
      }
    }
    island.gcPercent = gcPercent(in.genome.letters, island.start, island.end);
    const std::vector<RecordPiece> pieces =
        recordPieces(in.genome.records, island.start, island.end);
    for (std::size_t p = 0; p < pieces.size(); ++p) {
      const GenomeRecord& r = in.genome.records[pieces[p].record];
      const std::int64_t from = std::max(island.start, r.joinedStart);
      const std::int64_t to = std::min(island.end, r.joinedEnd);
      in.figures.pieces.push_back(Piece{i, pieces[p].record, pieces[p].start, pieces[p].end,
                                        static_cast<int>(p) + 1, static_cast<int>(pieces.size()),
                                        gcPercent(in.genome.letters, from, to)});
    }
  }
}

// Reads the run record beside the window-score file, if there is one, and checks
// that it was made from this genome.
bool readRecord(LoadedRun& in, std::string& error) {
  in.hasFirstRecord = RunRecord::read(firstRunRecordPath(in.scoresFile), in.firstRecord);
  const std::string path = runRecordPath(in.scoresFile);
  if (path.empty() || !RunRecord::read(path, in.record)) return true;
  in.hasRecord = true;
  const std::string recordedLength = in.record.get(record_key::kGenomeLength);
  const std::string recordedMd5 = in.record.get("genome_md5");
  const std::string md5 = lettersChecksum(in.genome.letters);
  if ((!recordedLength.empty() && recordedLength != std::to_string(length(in))) ||
      (!recordedMd5.empty() && recordedMd5 != md5)) {
    error = in.genomeFile + " is not the genome of this run: it has " + std::to_string(length(in)) +
            " letters (MD5 " + md5 + "), the run record " + path + " says " + recordedLength +
            " letters (MD5 " + recordedMd5 + ") of " + in.record.get(record_key::kGenomeFile);
    return false;
  }
  return true;
}

// The cut-offs of the run record and, for a refinement, of the first phase's.
void readCutoffs(LoadedRun& in) {
  double cutoff = 0.0;
  if (in.hasRecord && parseReal(in.record.get(record_key::kCutoff), cutoff) && cutoff > 0.0) {
    in.figures.cutoff = cutoff;
    in.figures.cutoffLabel =
        (in.record.get(record_key::kPhase) == kRefinementPhase ? "refinement cut-off "
                                                               : "cut-off ") +
        exactRealText(cutoff);
  }
  ResultFileNames there;
  if (isRefinement(in.scoresFile, there) && in.hasFirstRecord &&
      parseReal(in.firstRecord.get(record_key::kCutoff), cutoff) && cutoff > 0.0)
    in.figures.firstCutoff = cutoff;
}

// For a first-phase window-score file whose record says how many windows were
// tested: the cut-off the rank rule chooses.
void suggestCutoff(LoadedRun& in) {
  long long tested = 0;
  if (!in.hasRecord || in.record.get(record_key::kPhase) != kFirstPhase ||
      !parseInteger(in.record.get(record_key::kWindowsTested), tested) || in.rows.empty())
    return;
  std::vector<double> pValues;
  if (!firstPhasePValues(in.scoresFile, pValues)) return;
  const RankCutoff rule = rankCutoff(pValues, tested, kSuggestedFraction);
  if (!rule.found) return;
  in.figures.suggestedCutoff = rule.cutoff;
  in.figures.suggestion =
      "suggested cut-off: " + exactRealText(rule.cutoff) + ", " + rankCutoffWords(rule);
}

// The names of features `which` as a GFF3 attribute's list of values.
std::string gffNames(const LoadedRun& in, const std::vector<std::size_t>& which) {
  std::string list;
  for (std::size_t i : which) {
    list += (list.empty() ? "" : ",") +
            gff3Escaped(featureName(in.annotation.features[i]), Gff3Column::kAttributeValue);
  }
  return list;
}

// One piece's line parts shared by the tracks and the table.
std::string bestPText(const Island& island, const char* format) {
  return island.windows ? numberText(format, island.bestP) : std::string("NA");
}

}  // namespace

std::string runRecordPath(const std::string& scoresFile) {
  ResultFileNames there;
  bool first = false;
  if (!recordsOf(scoresFile, there, first)) return "";
  return first ? there.firstRecord : there.refinementRecord;
}

std::string firstRunRecordPath(const std::string& scoresFile) {
  ResultFileNames there;
  bool first = false;
  return recordsOf(scoresFile, there, first) ? there.firstRecord : "";
}

void deriveFigures(LoadedRun& in) {
  in.figures = RunFigures();
  in.figures.gcPercent = gcPercent(in.genome.letters, 0, length(in));
  readCutoffs(in);
  summariseIslands(in);
  suggestCutoff(in);
  if (in.annotated) in.figures.islandGenes = genesPerIsland(in, in.annotation);
}

std::vector<std::string> annotate(LoadedRun& in, Annotation annotation) {
  std::vector<std::string> warnings = placeFeatures(annotation, in.genome, in.genomeFile);
  in.annotation = std::move(annotation);
  in.annotated = true;
  deriveFigures(in);
  return warnings;
}

std::string featureNames(const LoadedRun& in, const std::vector<std::size_t>& which) {
  std::string names;
  for (std::size_t i : which)
    names += (names.empty() ? "" : ",") + featureName(in.annotation.features[i]);
  return names.empty() ? "-" : names;
}

void writeGenes(std::ostream& out, const LoadedRun& in) {
  out << "island\tisland_record\tisland_start\tisland_end\ttype\tlocus_tag\tgene\tproduct\t"
         "start\tend\tstrand\tmobility\ttRNA_site\tinside\n";
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
      const Feature& feature = in.annotation.features[f];
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
          << (site ? "yes" : "no") << '\t' << (inside ? "yes" : "no") << '\n';
    }
  }
}

std::string recordName(const LoadedRun& in, std::size_t r) {
  const std::string& name = in.genome.records[r].name;
  return name.empty() ? baseName(in.genomeFile) : name;
}

std::string pieceName(const Piece& piece) {
  std::string name = "island_" + std::to_string(piece.island + 1);
  if (piece.parts > 1)
    name += "_part" + std::to_string(piece.part) + "of" + std::to_string(piece.parts);
  return name;
}

double gcPercent(const std::string& letters, std::int64_t start, std::int64_t end) {
  if (end <= start) return 0.0;
  std::int64_t gc = 0;
  for (std::int64_t i = start; i < end; ++i) {
    const char c = letters[static_cast<std::size_t>(i)];
    gc += c == 'g' || c == 'c';
  }
  return 100.0 * static_cast<double>(gc) / static_cast<double>(end - start);
}

double minusLog10(double p) {
  return -std::log10(std::max(p, std::numeric_limits<double>::denorm_min()));
}

bool loadInputs(const std::string& genomeFile, const std::string& scoresFile,
                const std::string& islandsFile, LoadedRun& in, std::string& error) {
  AnnotatedGenome genome;
  error = readAnnotatedGenome(genomeFile, nullptr, false, genome);
  if (error.empty() && genome.genome.status != GenomeStatus::kOk)
    error = genomeErrorText(genome.genome, genomeFile);
  if (!error.empty() ||
      !loadRun(std::move(genome.genome), genomeFile, scoresFile, islandsFile, false, in, error))
    return false;
  if (genome.annotated) annotate(in, std::move(genome.annotation));
  in.warnings = std::move(genome.warnings);
  return true;
}

bool loadRun(Genome genome, const std::string& genomeFile, const std::string& scoresFile,
             const std::string& islandsFile, bool noScoresIsEmpty, LoadedRun& in,
             std::string& error) {
  in.genomeFile = genomeFile;
  in.scoresFile = scoresFile;
  in.islandsFile = islandsFile;
  in.genome = std::move(genome);
  error = duplicateRecordProblem(in.genome, genomeFile);
  if (!error.empty()) return false;
  if (length(in) == 0) {
    error = genomeFile + ": holds no sequence letters";
    return false;
  }
  if (!readRecord(in, error) || !readScores(in, in.scoresFile, noScoresIsEmpty, in.rows, error) ||
      !readIslands(in, error))
    return false;
  readContext(in);
  deriveFigures(in);
  return true;
}

void writeBed(std::ostream& out, const LoadedRun& in) {
  double top = 0.0;
  for (const Island& island : in.islands)
    if (island.windows) top = std::max(top, minusLog10(island.bestP));
  for (const Piece& piece : in.figures.pieces) {
    const Island& island = in.islands[piece.island];
    const double best = island.windows ? minusLog10(island.bestP) : 0.0;
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
    out << ";windows=" << island.windows << ";best_p=" << bestPText(island, "%g")
        << ";gc=" << numberText("%.2f", piece.gcPercent);
    if (in.annotated) {
      const IslandGenes& g = in.figures.islandGenes[piece.island];
      out << ";genes=" << g.genes.size();
      if (!g.mobility.empty()) out << ";mobility_genes=" << gffNames(in, g.mobility);
      if (!g.trnaSites.empty()) out << ";trna_sites=" << gffNames(in, g.trnaSites);
    }
    out << '\n';
  }
}

void writeTable(std::ostream& out, const LoadedRun& in) {
  out << "island\trecord\tstart\tend\tlength\twindows\tbest_p\tGC%\tdGC%"
      << (in.annotated ? "\tgenes\tmobility_genes\ttRNA_sites" : "") << "\n";
  std::int64_t total = 0;
  int windows = 0;
  for (const Piece& piece : in.figures.pieces) {
    const Island& island = in.islands[piece.island];
    total += piece.end - piece.start;
    if (piece.part == 1) windows += island.windows;
    out << pieceName(piece) << '\t' << tsvField(recordName(in, piece.record)) << '\t'
        << piece.start + 1 << '\t' << piece.end << '\t' << piece.end - piece.start << '\t'
        << island.windows << '\t' << bestPText(island, "%.3g") << '\t'
        << numberText("%.1f", piece.gcPercent) << '\t'
        << numberText("%+.1f", piece.gcPercent - in.figures.gcPercent);
    if (in.annotated) {
      const IslandGenes& g = in.figures.islandGenes[piece.island];
      out << '\t' << g.genes.size() << '\t' << tsvField(featureNames(in, g.mobility)) << '\t'
          << tsvField(featureNames(in, g.trnaSites));
    }
    out << '\n';
  }
  out << "total\t" << in.islands.size() << " islands\t\t\t" << total << '\t' << windows << "\t\t"
      << numberText("%.1f", in.figures.gcPercent) << " (genome)\t" << (in.annotated ? "\t\t\t" : "")
      << "\n";
  // How the first phase chose its cut-off, when its record says.
  const RunRecord& r = in.firstRecord;
  if (!in.hasFirstRecord || r.get(record_key::kCutoff).empty()) return;
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

}  // namespace morvale::report
