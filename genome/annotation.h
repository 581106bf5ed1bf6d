// The annotation of a genome as read from a GenBank, EMBL or GFF3 file: features
// (CDS, tRNA, tmRNA, rRNA, mobile elements, repeat regions) with their locations,
// names and products. Positions are record positions as in the file, 0-based, end
// exclusive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "genome/genome.h"

namespace morvale {

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

// Reads a feature location ("complement(join(<1..296,300..>400))"), 1-based and
// inclusive, into `feature` (0-based, end exclusive); a partial mark counts only
// where it stands at the feature's first or last position. False when it cannot be
// read. Parts on other entries ("J00194.1:100..202") are left out: a location
// that lies only on others reads as true with no segments.
bool readLocation(const std::string& location, Feature& feature);

// Keeps the features that lie on a record of `genome` and within its length; each
// one left out gets a warning line naming it, its file and line, and the reason.
std::vector<std::string> placeFeatures(Annotation& annotation, const Genome& genome,
                                       const std::string& genomeFile);

// A feature's name for people: its locus tag, else its gene name, else its type and
// position.
std::string featureName(const Feature& feature);

}  // namespace morvale
