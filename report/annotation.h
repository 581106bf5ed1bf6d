// Genes and other features of an annotated genome, and what they say of each
// island: the genes it overlaps, its mobility genes (integrases, recombinases,
// transposases, IS elements, phage proteins, conjugal transfer, relaxases) and the
// tRNA or tmRNA genes inside it or within 2 kbp of either end (classic insertion
// sites). Positions are record positions as in the file, 0-based, end exclusive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kmer/genome.h"

namespace morvale::report {

struct Inputs;

// The feature types read; every other type is passed over.
enum class FeatureKind { kCds, kTrna, kTmrna, kRrna, kMobileElement, kRepeatRegion };

struct FeatureSegment {
  std::int64_t start;
  std::int64_t end;
};

struct Feature {
  std::string record;  // the record's name
  FeatureKind kind = FeatureKind::kCds;
  std::vector<FeatureSegment> segments;  // ascending by start; one unless joined
  bool complement = false;
  bool partialStart = false;  // "<": the feature runs on before its first position
  bool partialEnd = false;    // ">": and after its last
  std::string locusTag;
  std::string gene;
  std::string product;
  std::size_t line = 0;  // where it stands in its file

  std::int64_t start() const { return segments.front().start; }
  std::int64_t end() const { return segments.back().end; }
};

struct Annotation {
  std::string file;
  std::vector<Feature> features;
};

// The feature kind of a type as written ("CDS", "tRNA", ..., "mobile_element" or
// "mobile_genetic_element"); false for a type that is not read.
bool featureKindOf(const std::string& type, FeatureKind& kind);
const char* featureTypeName(FeatureKind kind);

// True for a mobile element, or a product or gene name that names an integrase,
// recombinase, transposase, IS element, phage or prophage protein, conjugal
// transfer or a relaxase.
bool isMobility(const Feature& feature);
// True for tRNA and tmRNA genes.
bool isTrna(const Feature& feature);

// Keeps the features that lie on a record of `genome` and within its length; each
// one left out gets a warning line naming it, its file and line, and the reason.
std::vector<std::string> placeFeatures(Annotation& annotation, const Genome& genome,
                                       const std::string& genomeFile);

// What the annotation says of one island.
struct IslandGenes {
  std::vector<std::size_t> genes;      // features overlapping the island, in file order
  std::vector<std::size_t> mobility;   // of those, the mobility genes
  std::vector<std::size_t> trnaSites;  // tRNA/tmRNA genes inside or within 2 kbp of an end
};

// For every island of `in` (all its pieces), by index.
std::vector<IslandGenes> genesPerIsland(const Inputs& in, const Annotation& annotation);

// A feature's name for people: its locus tag, else its gene name, else its type and
// position.
std::string featureName(const Feature& feature);

}  // namespace morvale::report
