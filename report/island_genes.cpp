#include "report/island_genes.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "report/loaded_run.h"

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
std::map<std::string, std::size_t> recordsByName(const LoadedRun& in) {
  std::map<std::string, std::size_t> byName;
  for (std::size_t r = 0; r < in.genome.records.size(); ++r) byName.emplace(recordName(in, r), r);
  return byName;
}

}  // namespace

bool isMobility(const Feature& f) {
  return f.kind == FeatureKind::kMobileElement || mobilityWords(f.product) || mobilityWords(f.gene);
}

bool isTrna(const Feature& f) {
  return f.kind == FeatureKind::kTrna || f.kind == FeatureKind::kTmrna;
}

std::vector<IslandGenes> genesPerIsland(const LoadedRun& in, const Annotation& annotation) {
  std::vector<IslandGenes> all(in.islands.size());
  const std::map<std::string, std::size_t> byName = recordsByName(in);
  for (std::size_t i = 0; i < annotation.features.size(); ++i) {
    const Feature& f = annotation.features[i];
    const auto record = byName.find(f.record);
    if (record == byName.end()) continue;
    for (const Piece& p : in.figures.pieces) {
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
