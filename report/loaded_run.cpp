#include "report/loaded_run.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>
#include <utility>

#include "base/file_paths.h"
#include "base/number_text.h"
#include "base/tokens.h"
#include "base/tsv_text.h"
#include "base/whole_file.h"
#include "genome/annotated_genome.h"
#include "genome/gff3_text.h"
#include "genome/input_file.h"
#include "genome/letters_checksum.h"
#include "genome/record_letters.h"
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
bool readScores(LoadedRun& in, const std::string& file, MissingScores missing,
                std::vector<ScoreRow>& rows, std::string& error) {
  std::string text;
  if (!readWholeFile(file, text)) {
    if (missing == MissingScores::kNoRows && errno == ENOENT) return true;
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
  if (!readScores(in, there.firstScores, MissingScores::kRefused, in.contextRows, ignored))
    in.contextRows.clear();
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
    island.best = in.kind == ScoreKind::kPValue ? 1.0 : -HUGE_VAL;
    auto it = std::lower_bound(rows.begin(), rows.end(), island.start,
                               [](const ScoreRow& r, std::int64_t s) { return r.start < s; });
    for (; it != rows.end() && it->start < island.end; ++it) {
      if (it->end <= island.end) {
        ++island.windows;
        if (stronger(in.kind, it->value, island.best)) island.best = it->value;
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
  RunRecord read;
  if (RunRecord::read(firstRunRecordPath(in.scoresFile), read)) in.firstRecord = read;
  const std::string path = runRecordPath(in.scoresFile);
  if (path.empty() || !RunRecord::read(path, read)) return true;
  in.record = read;
  const std::string recordedLength = read.get(record_key::kGenomeLength);
  const std::string recordedMd5 = read.get(record_key::kGenomeMd5);
  const std::string md5 = lettersChecksum(in.genome.letters);
  if ((!recordedLength.empty() && recordedLength != std::to_string(length(in))) ||
      (!recordedMd5.empty() && recordedMd5 != md5)) {
    error = in.genomeFile + " is not the genome of this run: it has " + std::to_string(length(in)) +
            " letters (MD5 " + md5 + "), the run record " + path + " says " + recordedLength +
            " letters (MD5 " + recordedMd5 + ") of " + read.get(record_key::kGenomeFile);
    return false;
  }
  return true;
}

// The cut-offs of the run record and, for a refinement, of the first phase's.
void readCutoffs(LoadedRun& in) {
  double cutoff = 0.0;
  if (in.record && parseReal(in.record->get(record_key::kCutoff), cutoff) &&
      (cutoff > 0.0 || in.kind == ScoreKind::kNaturalScore)) {
    in.figures.cutoff = cutoff;
    in.figures.cutoffLabel =
        (in.record->get(record_key::kPhase) == kRefinementPhase ? "refinement cut-off "
                                                                : "cut-off ") +
        (in.kind == ScoreKind::kPValue ? exactRealText(cutoff) : numberText("%.4g", cutoff));
  }
  ResultFileNames there;
  if (isRefinement(in.scoresFile, there) && in.firstRecord &&
      parseReal(in.firstRecord->get(record_key::kCutoff), cutoff) && cutoff > 0.0)
    in.figures.firstCutoff = cutoff;
}

// For a first-phase window-score file whose record says how many windows were
// tested: the cut-off the rank rule chooses.
void suggestCutoff(LoadedRun& in) {
  long long tested = 0;
  if (!in.record || in.record->get(record_key::kPhase) != kFirstPhase ||
      !parseInteger(in.record->get(record_key::kWindowsTested), tested) || in.rows.empty())
    return;
  std::vector<double> pValues;
  if (!firstPhasePValues(in.scoresFile, pValues)) return;
  const RankCutoff rule = rankCutoff(pValues, tested, kSuggestedFraction);
  if (!rule.found) return;
  in.figures.suggestedCutoff = rule.cutoff;
  in.figures.suggestion =
      "suggested cut-off: " + exactRealText(rule.cutoff) + ", " + rankCutoffWords(rule);
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
  if (in.annotation) in.figures.islandGenes = genesPerIsland(in, *in.annotation);
  if (in.annotation && in.geneScores) {
    for (const IslandGenes& genes : in.figures.islandGenes)
      in.figures.evidence.push_back(islandEvidence(genes.genes, *in.geneScores));
  }
}

std::vector<std::string> annotate(LoadedRun& in, Annotation annotation) {
  std::vector<std::string> warnings = placeFeatures(annotation, in.genome, in.genomeFile);
  in.annotation = std::move(annotation);
  deriveFigures(in);
  return warnings;
}

void scoreGenesOf(LoadedRun& in, GeneScores scores) {
  in.geneScores = std::move(scores);
  deriveFigures(in);
}

std::string featureNames(const LoadedRun& in, const std::vector<std::size_t>& which) {
  std::string names;
  for (std::size_t i : which)
    names += (names.empty() ? "" : ",") + featureName(in.annotation->features[i]);
  return names.empty() ? "-" : names;
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

double plotValue(ScoreKind kind, double value) {
  return kind == ScoreKind::kPValue ? minusLog10(value) : value;
}

bool stronger(ScoreKind kind, double a, double b) {
  return kind == ScoreKind::kPValue ? a < b : a > b;
}

const char* valueAxisLabel(ScoreKind kind) {
  return kind == ScoreKind::kPValue ? "-log10 p" : "score";
}

void naturalRun(Genome genome, const std::string& genomeFile, const std::string& scoresFile,
                std::vector<ScoreRow> rows, std::vector<Island> islands, RunRecord record,
                LoadedRun& in) {
  in = LoadedRun();
  in.kind = ScoreKind::kNaturalScore;
  in.genomeFile = genomeFile;
  in.scoresFile = scoresFile;
  in.genome = std::move(genome);
  in.rows = std::move(rows);
  in.islands = std::move(islands);
  in.record = std::move(record);
  deriveFigures(in);
}

bool loadInputs(const std::string& genomeFile, const std::string& scoresFile,
                const std::string& islandsFile, LoadedRun& in, std::string& error) {
  AnnotatedGenome genome = readAnnotatedGenome(genomeFile, std::nullopt);
  error = genome.error;
  if (error.empty() && genome.genome.status != GenomeStatus::kOk)
    error = genomeErrorText(genome.genome, genomeFile);
  if (!error.empty() || !loadRun(std::move(genome.genome), genomeFile, scoresFile, islandsFile,
                                 MissingScores::kRefused, in, error))
    return false;
  if (genome.annotation) {
    annotate(in, std::move(*genome.annotation));
    // The genes' composition, on the records' letters as the file has them.
    int openError = 0;
    const std::unique_ptr<ByteSource> source = openInputFile(genomeFile, openError);
    std::vector<std::string> letters;
    if (!source || !readRecordLetters(*source, letters) ||
        letters.size() != in.genome.records.size()) {
      error = genomeFile + ": cannot be read again for its genes' letters";
      return false;
    }
    scoreGenesOf(in, scoreGenes(*in.annotation, in.genome.records, letters));
  }
  in.warnings = std::move(genome.warnings);
  return true;
}

bool loadRun(Genome genome, const std::string& genomeFile, const std::string& scoresFile,
             const std::string& islandsFile, MissingScores missing, LoadedRun& in,
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
  if (!readRecord(in, error) || !readScores(in, in.scoresFile, missing, in.rows, error) ||
      !readIslands(in, error))
    return false;
  readContext(in);
  deriveFigures(in);
  return true;
}

}  // namespace morvale::report
