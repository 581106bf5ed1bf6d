// What the genes of one island say of it: how many of its protein-coding genes
// are atypical in composition, how atypical they are, and how far its third codon
// positions stray from the genome's. (Mobility genes and tRNA sites are the
// report's: report/island_genes.h.)
#pragma once

#include <cstddef>
#include <vector>

#include "genes/gene_scores.h"

namespace morvale {

// When no gene of the island is scored, the fraction, median and deviation are 0:
// writers show them as missing by scoredGenes == 0.
struct IslandEvidence {
  std::size_t genes = 0;           // protein-coding genes (CDS) among the island's features
  std::size_t scoredGenes = 0;     // of those, scored
  std::size_t atypicalGenes = 0;   // of those, atypical
  double atypicalFraction = 0.0;   // atypicalGenes / scoredGenes
  double medianAtypicality = 0.0;  // of the scored genes
  // Percentage points: GC at the third positions of the scored genes' counted
  // codons, pooled, minus the genome's (GeneScores::genomeGc3).
  double gc3Deviation = 0.0;
  std::vector<std::size_t> atypical;  // feature indices of the atypical genes, as given
};

// The evidence of an island from the feature indices of the genes it overlaps
// (IslandGenes::genes: every kind, in file order; features that are not CDS are
// passed over) and the genome's gene scores.
IslandEvidence islandEvidence(const std::vector<std::size_t>& genes, const GeneScores& scores);

}  // namespace morvale
