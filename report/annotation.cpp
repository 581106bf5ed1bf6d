#include "report/annotation.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "report/report.h"

namespace morvale::report {

namespace {

constexpr std::int64_t kTrnaReach = 2000;

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// True when `text` holds `word` (lower case) not glued to letters on either side.
bool holdsWord(const std::string& text, const std::string& word) {
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const bool before = at == 0 || !std::isalpha(static_cast<unsigned char>(text[at - 1]));
    const std::size_t after = at + word.size();
    const bool next =
        after >= text.size() || !std::isalpha(static_cast<unsigned char>(text[after]));
    if (before && next) return true;
  }
  return false;
}

// An IS element named as such: "IS" and a digit ("IS6", "IS26 family"), upper case.
bool namesIsElement(const std::string& text) {
  for (std::size_t at = text.find("IS"); at != std::string::npos; at = text.find("IS", at + 1)) {
    const bool before = at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]));
    if (before && at + 2 < text.size() && std::isdigit(static_cast<unsigned char>(text[at + 2])))
      return true;
  }
  return false;
}

bool mobilityWords(const std::string& text) {
  const std::string t = lower(text);
  for (const char* word : {"integrase", "recombinase", "transposase", "relaxase", "phage",
                           "prophage", "insertion element", "insertion sequence", "is element",
                           "conjugal transfer", "conjugative transfer", "transposon"})
    if (holdsWord(t, word)) return true;
  return namesIsElement(text);
}

// The record index of each record name of `in`.
std::map<std::string, std::size_t> recordsByName(const Inputs& in) {
  std::map<std::string, std::size_t> byName;
  for (std::size_t r = 0; r < in.genome.records.size(); ++r) byName.emplace(recordName(in, r), r);
  return byName;
}

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

bool isMobility(const Feature& f) {
  return f.kind == FeatureKind::kMobileElement || mobilityWords(f.product) || mobilityWords(f.gene);
}

bool isTrna(const Feature& f) {
  return f.kind == FeatureKind::kTrna || f.kind == FeatureKind::kTmrna;
}

std::string featureName(const Feature& f) {
  if (!f.locusTag.empty()) return f.locusTag;
  if (!f.gene.empty()) return f.gene;
  return std::string(featureTypeName(f.kind)) + "@" + f.record + ":" +
         std::to_string(f.start() + 1);
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

std::vector<IslandGenes> genesPerIsland(const Inputs& in, const Annotation& annotation) {
  std::vector<IslandGenes> all(in.islands.size());
  const std::map<std::string, std::size_t> byName = recordsByName(in);
  for (std::size_t i = 0; i < annotation.features.size(); ++i) {
    const Feature& f = annotation.features[i];
    const auto record = byName.find(f.record);
    if (record == byName.end()) continue;
    for (const Piece& p : in.pieces) {
      if (p.record != record->second) continue;
      IslandGenes& genes = all[p.island];
      const bool overlaps =
          std::any_of(f.segments.begin(), f.segments.end(),
                      [&](const FeatureSegment& s) { return s.start < p.end && s.end > p.start; });
      const auto note = [i](std::vector<std::size_t>& list) {
        if (list.empty() || list.back() != i) list.push_back(i);
      };
      if (overlaps) {
        note(genes.genes);
        if (isMobility(f)) note(genes.mobility);
      }
      if (isTrna(f) && f.start() < p.end + kTrnaReach && f.end() > p.start - kTrnaReach)
        note(genes.trnaSites);
    }
  }
  return all;
}

}  // namespace morvale::report
