#include "genome/annotation.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>

#include "base/tokens.h"

namespace morvale {

namespace {

// Location grammar: LOC := complement(LOC) | join(LOC,...) | order(LOC,...) |
// [ACC:]RANGE; RANGE := POS[..POS] | N^N | N.N; POS := [<|>]N | (N.N). A '<' on a
// range's first position or a '>' on its last one marks that end open.
class LocationReader {
 public:
  LocationReader(const std::string& text, Feature& f) : s_(text), f_(f) {}
  bool read() {
    s_.erase(std::remove_if(s_.begin(), s_.end(),
                            [](char c) { return std::isspace(static_cast<unsigned char>(c)); }),
             s_.end());
    if (!location(false) || at_ != s_.size()) return false;
    std::stable_sort(parts_.begin(), parts_.end(), [](const Part& a, const Part& b) {
      return a.segment.start < b.segment.start;
    });
    for (const Part& p : parts_) f_.segments.push_back(p.segment);
    if (!parts_.empty()) {
      f_.partialStart = parts_.front().openStart;
      f_.partialEnd = parts_.back().openEnd;
    }
    return true;
  }

 private:
  struct Part {
    FeatureSegment segment;
    bool openStart;
    bool openEnd;
  };
  bool word(const char* w) {
    const std::size_t n = std::char_traits<char>::length(w);
    if (s_.compare(at_, n, w) != 0) return false;
    at_ += n;
    return true;
  }
  bool number(std::int64_t& v) {
    const std::size_t from = at_;
    while (at_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[at_]))) ++at_;
    long long n = 0;
    if (!parseInteger(std::string_view(s_).substr(from, at_ - from), n) || n < 1) return false;
    v = n;
    return true;
  }
  // A position: its number (of "(N.M)", the one that widens the range, as `first`
  // says) and the partial mark before it, if any.
  bool position(bool first, std::int64_t& v, char& mark) {
    mark = word("<") ? '<' : word(">") ? '>' : 0;
    if (mark || !word("(")) return number(v);
    std::int64_t low = 0;
    std::int64_t high = 0;
    if (!number(low) || !word(".") || !number(high) || high < low || !word(")")) return false;
    v = first ? low : high;
    return true;
  }
  bool list(bool complemented) {
    do {
      if (!location(complemented)) return false;
    } while (word(","));
    return word(")");
  }
  bool location(bool complemented) {
    if (word("complement(")) {
      f_.complement = !complemented;
      return location(true) && word(")");
    }
    if (word("join(") || word("order(")) return list(complemented);
    // A part on another entry: its accession, then a colon.
    const std::size_t colon = s_.find(':', at_);
    const std::size_t stop = s_.find_first_of(",)", at_);
    const bool remote = colon != std::string::npos && (stop == std::string::npos || colon < stop);
    if (remote) at_ = colon + 1;
    std::int64_t first = 0;
    char firstMark = 0;
    if (!position(true, first, firstMark)) return false;
    std::int64_t last = first;
    char lastMark = firstMark;
    if (word("..")) {
      if (!position(false, last, lastMark) || last < first) return false;
    } else if (word("^")) {
      return number(last);  // a site between two bases: no letters
    } else if (!firstMark && s_.compare(at_, 1, ".") == 0) {
      ++at_;  // one base of the range N.M, which one unknown: the whole range
      if (!number(last) || last < first) return false;
    }
    if (!remote) parts_.push_back({{first - 1, last}, firstMark == '<', lastMark == '>'});
    return true;
  }
  std::string s_;
  std::size_t at_ = 0;
  Feature& f_;
  std::vector<Part> parts_;
};

}  // namespace

bool featureKindOf(const std::string& type, FeatureKind& kind) {
  static const std::pair<const char*, FeatureKind> kTypes[] = {
      {"CDS", FeatureKind::kCds},
      {"tRNA", FeatureKind::kTrna},
      {"tmRNA", FeatureKind::kTmrna},
      {"rRNA", FeatureKind::kRrna},
      {"mobile_element", FeatureKind::kMobileElement},
      {"mobile_genetic_element", FeatureKind::kMobileElement},
      {"repeat_region", FeatureKind::kRepeatRegion}};
  for (const auto& [name, k] : kTypes) {
    if (type == name) {
      kind = k;
      return true;
    }
  }
  return false;
}

const char* featureTypeName(FeatureKind kind) {
  switch (kind) {
    case FeatureKind::kCds:
      return "CDS";
    case FeatureKind::kTrna:
      return "tRNA";
    case FeatureKind::kTmrna:
      return "tmRNA";
    case FeatureKind::kRrna:
      return "rRNA";
    case FeatureKind::kMobileElement:
      return "mobile_element";
    case FeatureKind::kRepeatRegion:
      return "repeat_region";
  }
  return "";
}

bool readLocation(const std::string& location, Feature& feature) {
  return LocationReader(location, feature).read();
}

std::vector<std::string> placeFeatures(Annotation& annotation, const Genome& genome,
                                       const std::string& genomeFile) {
  std::map<std::string, std::int64_t> lengths;
  for (const GenomeRecord& r : genome.records) lengths.emplace(r.name, r.length);
  std::vector<std::string> warnings;
  std::size_t kept = 0;  // the features kept move to the front, in order
  for (Feature& f : annotation.features) {
    const auto record = lengths.find(f.record);
    std::string why;
    if (record == lengths.end()) {
      why = "is on record " + f.record + ", which " + genomeFile + " does not have";
    } else if (f.end() > record->second) {
      why = "ends at " + std::to_string(f.end()) + ", past the " + std::to_string(record->second) +
            " letters of record " + f.record;
    }
    if (why.empty()) {
      if (&annotation.features[kept] != &f) annotation.features[kept] = std::move(f);
      ++kept;
    } else {
      warnings.push_back("feature " + featureName(f) + " (" + annotation.file + " line " +
                         std::to_string(f.line) + ") " + why + "; it is skipped");
    }
  }
  annotation.features.resize(kept);
  return warnings;
}

std::string featureName(const Feature& f) {
  if (!f.locusTag.empty()) return f.locusTag;
  if (!f.gene.empty()) return f.gene;
  return std::string(featureTypeName(f.kind)) + "@" + f.record + ":" +
         std::to_string(f.start() + 1);
}

}  // namespace morvale
