// The coding sequence of a protein-coding gene (a CDS feature) as read from its
// record's letters, and the composition counted from it: its codons by the
// standard genetic code (table 11), its third positions and its dinucleotides.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "genome/annotation.h"

namespace morvale {

// Genes with a shorter coding sequence (stop codon included) get no score.
constexpr std::int64_t kMinGeneLength = 300;
// Codons counted at the least: as many as a gene of kMinGeneLength letters has
// without its start and stop codons.
constexpr std::uint64_t kMinCountedCodons = kMinGeneLength / 3 - 2;

// Codon and dinucleotide numbers: a = 0, c = 1, g = 2, t = 3; codon xyz is
// 16x + 4y + z, dinucleotide xy is 4x + y.
// The number of the codon at `three` (three letters, either case), -1 when one of
// them is not a, c, g or t.
int codonNumber(const char* three);
// The amino acid codon `codon` codes for by table 11, one letter ('*' for a stop).
char aminoAcidOf(int codon);

// The letters of `feature`'s segments in `recordLetters` (its record's letters as
// they stand in the file), ascending and end to end, reverse-complemented when
// the feature lies on the complement strand, lower case. Letters other than
// a, c, g, t become 'n' in the complement and keep their own (lower-case) letter
// otherwise. Segments must lie within `recordLetters`.
std::string codingSequence(const Feature& feature, const std::string& recordLetters);

// What a gene's scores are counted from.
//   Codons: read in frame from the first letter. The first codon (the start, read
//   as Met whatever its letters) and a last codon that is a stop are not counted,
//   nor are codons holding a letter other than a, c, g, t.
//   Third positions: those of the counted codons.
//   Dinucleotides and letters: every pair of neighbouring letters of the whole
//   coding sequence (start and stop included) that are both a, c, g or t, and
//   every such letter.
struct GeneComposition {
  std::array<std::uint64_t, 64> codons{};
  std::uint64_t countedCodons = 0;
  std::uint64_t gc3Codons = 0;  // counted codons with g or c third
  std::array<std::uint64_t, 16> dinucleotides{};
  std::array<std::uint64_t, 4> letters{};
};

// Counts `coding` into `composition` and returns "" when the gene can be scored,
// else why not: a partial gene (its frame is unknown), one shorter than
// kMinGeneLength, one whose length is not a multiple of 3, one with a stop codon
// before its last codon (a pseudogene, or a selenoprotein), one with fewer than
// kMinCountedCodons counted codons. The first reason that holds, in that order.
std::string countGene(const std::string& coding, bool partial, GeneComposition& composition);

// Adds the dinucleotides and letters of `letters` (either case; pairs as above) to
// those of `composition`.
void countDinucleotides(const std::string& letters, GeneComposition& composition);

}  // namespace morvale
