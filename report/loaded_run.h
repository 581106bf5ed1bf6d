// A run as the report reads it: a genome, a window-score file and an islands file
// of either phase, the run records beside them and the genome's annotation; and
// the figures that follow from them, each island placed in its record at positions
// that count every letter of the record as it stands in the file.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "genes/gene_scores.h"
#include "genes/island_evidence.h"
#include "genome/genome.h"
#include "islands/run_record.h"
#include "report/island_genes.h"

namespace morvale::report {

// What a run's window scores are: the p-values of the two phases (smaller is
// stronger), or the scores of the natural scan (larger is stronger).
enum class ScoreKind { kPValue, kNaturalScore };

struct ScoreRow {
  std::int64_t size;
  std::int64_t start;  // window span [start, end) in the genome string, as readers take it
  std::int64_t end;
  double value;  // the window's p-value or score (see ScoreKind)
};

struct Island {
  std::int64_t start;  // in the genome string, 0-based, end exclusive
  std::int64_t end;
  int windows = 0;    // window rows whose span lies inside the island
  double best = 1.0;  // the strongest value among them (meaningless when windows is 0)
  double gcPercent = 0.0;
};

// One island inside one record: record positions [start, end), 0-based. An island
// that spans records has one piece per record.
struct Piece {
  std::size_t island;
  std::size_t record;
  std::int64_t start;
  std::int64_t end;
  int part;   // 1.. within its island
  int parts;  // pieces of its island
  double gcPercent;
};

// What is derived from a loaded run, all of it computed by deriveFigures.
struct RunFigures {
  double gcPercent = 0.0;     // of the whole genome
  std::vector<Piece> pieces;  // every island's pieces, island by island
  double cutoff = NAN;        // the cut-off of the record's phase, when it gives one
  std::string cutoffLabel;
  double firstCutoff = NAN;      // the first phase's cut-off, drawn with a refinement's context
  double suggestedCutoff = NAN;  // the rank rule's cut-off for a first-phase file (see below)
  std::string suggestion;  // "suggested cut-off: 1e-12, the 2 % most significant of N windows"
  std::vector<IslandGenes> islandGenes;  // by island; empty unless annotated
  // By island: what its genes' composition says; empty unless the genes were scored.
  std::vector<IslandEvidence> evidence;
};

// What was read for one run: the genome, the result files, the run records beside
// them and the genome's annotation; and, in `figures`, what follows from them.
struct LoadedRun {
  ScoreKind kind = ScoreKind::kPValue;
  std::string genomeFile, scoresFile, islandsFile;
  Genome genome;
  std::vector<ScoreRow> rows;
  // For a refinement: the first phase's rows from the same folder, drawn behind
  // the refinement's as the genome-wide context.
  std::vector<ScoreRow> contextRows;
  std::vector<Island> islands;           // their windows, best p and GC are set by deriveFigures
  std::optional<RunRecord> record;       // the run record beside the window-score file
  std::optional<RunRecord> firstRecord;  // the first phase's record in the same folder
  std::optional<Annotation> annotation;  // the genome's features, when given (see annotate)
  std::optional<GeneScores> geneScores;  // their composition, when scored (see scoreGenesOf)
  std::vector<std::string> warnings;     // features of the genome file left out, one line each
  RunFigures figures;                    // set by deriveFigures alone
};

// Reads and checks the genome (as readAnnotatedGenome does: a GenBank or EMBL
// genome is annotated with its features, those left out are in `warnings`, and its
// genes are scored with the default settings), the two result files
// and the run record beside the window-score file. A genome whose length or checksum differs from
// the record's, and an island beyond the genome's end, are refused. On failure returns false with
// `error` set to one line naming the file and the problem.
bool loadInputs(const std::string& genomeFile, const std::string& scoresFile,
                const std::string& islandsFile, LoadedRun& in, std::string& error);

// What a window-score file that does not exist means.
enum class MissingScores {
  kRefused,  // the file was named by the user: an error
  kNoRows,   // a scan that selected no window leaves none
};

// The same for a genome already read from `genomeFile`.
bool loadRun(Genome genome, const std::string& genomeFile, const std::string& scoresFile,
             const std::string& islandsFile, MissingScores missing, LoadedRun& in,
             std::string& error);

// The run record of a window-score file: "KL-first.txt" has "KL-first.run.txt",
// "Euclidean-refinement.txt" has "Eu-refinement.run.txt", in the same folder; "" for
// a file of another name.
std::string runRecordPath(const std::string& scoresFile);

// The first phase's run record in the folder of a window-score file of either phase
// ("KL-refinement.txt" has "KL-first.run.txt"); "" for a file of another name.
std::string firstRunRecordPath(const std::string& scoresFile);

// The fraction of the windows tested that the suggested cut-off keeps.
constexpr double kSuggestedFraction = 0.02;

// The name of record `r`: its header's first word, else the genome file's base name.
std::string recordName(const LoadedRun& in, std::size_t r);

// GC percentage of letters [start, end) of the genome string (0 for an empty range).
double gcPercent(const std::string& letters, std::int64_t start, std::int64_t end);

// -log10 p, with p = 0 taken as the smallest positive double.
double minusLog10(double p);

// How high a window's value is drawn: -log10 p for p-values, the score itself for
// natural scores (which may be below 0).
double plotValue(ScoreKind kind, double value);
// True when value `a` is stronger than `b`: a smaller p-value, a larger score.
bool stronger(ScoreKind kind, double a, double b);
// The plot's axis label: "-log10 p" or "score".
const char* valueAxisLabel(ScoreKind kind);

// A run of the natural scan held in memory: `genome` read from `genomeFile`, its
// windows as rows (their scores as values, written to `scoresFile`), its islands
// (no islands file: islandsFile stays "") and its run record. Derives the figures as
// loadRun does.
void naturalRun(Genome genome, const std::string& genomeFile, const std::string& scoresFile,
                std::vector<ScoreRow> rows, std::vector<Island> islands, RunRecord record,
                LoadedRun& in);

// Computes `run.figures`, and each island's windows, best p-value and GC, from what
// was read (the suggestion reads the first phase's p-values again from the
// window-score file). loadRun and annotate call it; it may be called again.
void deriveFigures(LoadedRun& run);

// Adds the features of an annotated genome: those on records the genome lacks or
// past a record's end are left out, with a warning line each; the figures are
// derived again, the genes of every island with them. The table, the GFF3 attributes, genes.tsv and
// the page then show them.
std::vector<std::string> annotate(LoadedRun& in, Annotation annotation);

// Adds the scores of the annotated genome's genes (genes/gene_scores.h, computed on
// its records' letters as they stand in the file), and derives each island's
// evidence from them. Requires an annotation (annotate first).
void scoreGenesOf(LoadedRun& in, GeneScores scores);

// The names of features `which`, comma-separated ("-" for none).
std::string featureNames(const LoadedRun& in, const std::vector<std::size_t>& which);

// "island_3", or "island_3_part1of2" for a piece of an island that spans records.
std::string pieceName(const Piece& piece);

}  // namespace morvale::report
