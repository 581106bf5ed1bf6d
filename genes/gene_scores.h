// How atypical each protein-coding gene of a genome is: three measures of its
// composition against the genome's (codon usage, GC at third codon positions,
// dinucleotide relative abundance), each as a robust z among genes of similar
// length, combined into one score; the top fraction of genes by that score are
// called atypical, as genes taken up from elsewhere often are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "genes/coding_sequence.h"
#include "genome/annotation.h"
#include "genome/genome_records.h"

namespace morvale {

// The fraction of scored genes called atypical: in (kMinAtypicalFraction,
// kMaxAtypicalFraction], the low end excluded.
constexpr double kDefaultAtypicalFraction = 0.10;
constexpr double kMinAtypicalFraction = 0.0;
constexpr double kMaxAtypicalFraction = 0.5;
// Length neighbours on either side of a gene for its robust z (see robust_z.h).
constexpr std::size_t kDefaultLengthNeighbours = 50;

struct GeneScoreSettings {
  double atypicalFraction = kDefaultAtypicalFraction;
  std::size_t lengthNeighbours = kDefaultLengthNeighbours;  // at least 1
};

// One CDS feature. The measures (set for scored genes only, else 0):
//   codonBias: Karlin's codon bias of the gene against the genome,
//     B(g|G) = sum over amino acids a of p_a(g) * sum over the codons c of a of
//     |f(c|a,g) - f(c|a,G)|, p_a(g) the share of the gene's counted codons coding
//     for a (over all 61 sense codons, so Met and Trp count in the shares though
//     their one codon adds nothing to the sum), f(c|a,.) the share of codon c among
//     the codons of a. Stop codons are never counted (see coding_sequence.h). In
//     [0, 2].
//   gc3: the fraction of the gene's counted codons with g or c third.
//   dinucleotideDistance: Karlin's delta* = 1/16 sum over XY of
//     |rho*_XY(gene) - rho*_XY(genome)|, rho*_XY = f_XY / (f_X f_Y) with the
//     frequencies taken from the sequence and its reverse complement together (0
//     when f_X f_Y is 0); the gene's from its coding sequence, the genome's from
//     all the letters of its records.
//   zCodon, zGc3, zDinucleotide: the robust z of each among the gene's length
//     neighbours (by coding length, ties by feature index).
//   atypicality: (zCodon + |zGc3| + zDinucleotide) / 3. GC3 counts by its absolute
//     deviation, in either direction; the two distances signed, so a gene nearer
//     the genome's usage than its neighbours lowers its score.
struct GeneScore {
  std::size_t feature = 0;  // its index in the annotation's features
  bool scored = false;
  std::string whyNot;           // "" when scored, else the reason (coding_sequence.h)
  std::int64_t length = 0;      // letters of its coding sequence, stop codon included
  std::uint64_t codons = 0;     // counted codons
  std::uint64_t gc3Codons = 0;  // of those, with g or c third
  double codonBias = 0.0;
  double gc3 = 0.0;
  double dinucleotideDistance = 0.0;
  double zCodon = 0.0;
  double zGc3 = 0.0;
  double zDinucleotide = 0.0;
  double atypicality = 0.0;
  bool atypical = false;
};

struct GeneScores {
  std::vector<GeneScore> genes;  // one per CDS feature, in feature order
  std::size_t scoredGenes = 0;
  std::size_t atypicalGenes = 0;
  double genomeGc3 = 0.0;  // third positions of all counted codons of scored genes pooled
  // Genes whose atypicality is above this are atypical: the score of the (k + 1)-th
  // highest scored gene, k = floor(fraction * scoredGenes); genes tied at it all stay
  // typical, so at most k are atypical. Infinity when k is 0.
  double atypicalCut = 0.0;
};

// Scores every CDS feature of `annotation` (features are matched to `records` by
// record name) on `recordLetters`, the records' letters as they stand in the file
// (readRecordLetters). The genome's codon usage and third positions are those of
// all scored genes pooled; a gene whose record is missing, or whose segments lie
// outside its record's letters, is not scored. Settings out of range are a
// caller's mistake (PreconditionError).
GeneScores scoreGenes(const Annotation& annotation, const std::vector<GenomeRecord>& records,
                      const std::vector<std::string>& recordLetters,
                      const GeneScoreSettings& settings = {});

// The measures of one gene's composition against the genome's (see GeneScore):
// codons of `genome` pooled over the scored genes, its letters and dinucleotides
// from all its records.
double codonBias(const GeneComposition& gene, const GeneComposition& genome);
double dinucleotideDistance(const GeneComposition& gene, const GeneComposition& genome);

// The atypical cut of the atypicality scores `scores` for `fraction` (see
// GeneScores::atypicalCut).
double atypicalCut(std::vector<double> scores, double fraction);

// The score of feature `feature` in `scores`, null when it is not a CDS feature.
const GeneScore* geneScoreOf(const GeneScores& scores, std::size_t feature);

}  // namespace morvale
