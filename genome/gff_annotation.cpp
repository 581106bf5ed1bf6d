#include "genome/gff_annotation.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <vector>

#include "base/system_error.h"
#include "base/tokens.h"
#include "genome/gff3_text.h"

namespace morvale {

namespace {

std::map<std::string, std::string> attributes(const std::string& column) {
  std::map<std::string, std::string> out;
  std::istringstream parts(column);
  for (std::string part; std::getline(parts, part, ';');) {
    const std::size_t equals = part.find('=');
    if (equals == std::string::npos) continue;
    std::string key = part.substr(0, equals);
    while (!key.empty() && key.front() == ' ') key.erase(key.begin());
    out[key] = gff3Decoded(part.substr(equals + 1));
  }
  return out;
}

// "##gff-version", a run of blanks, then 3 (Prodigal writes two spaces).
bool versionLine(const std::string& line) {
  const std::string directive = "##gff-version";
  if (line.rfind(directive, 0) != 0) return false;
  const std::size_t version = line.find_first_not_of(" \t", directive.size());
  return version != std::string::npos && version > directive.size() && line[version] == '3';
}

// An end-of-gene mark: partial=XY as Prodigal writes it, X for the lower end and Y
// for the upper, '1' where the gene runs on.
bool partialMark(const std::string& partial, std::size_t end) {
  return partial.size() == 2 && partial[end] == '1';
}

struct Names {
  std::string locusTag;
  std::string gene;
};

}  // namespace

bool readGff3(ByteSource& in, const std::string& fileName, Annotation& annotation,
              std::string& error) {
  annotation.file = fileName;
  std::string line;
  std::size_t number = 0;
  std::map<std::string, std::size_t> byId;  // feature ID -> index, for features of several lines
  std::map<std::string, Names> parents;     // gene ID -> its names
  std::vector<std::string> columns;
  while (readLine(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1 && !versionLine(line)) {
      error = fileName + " line 1: a GFF3 file starts with \"##gff-version 3\"";
      return false;
    }
    if (line.rfind("##FASTA", 0) == 0) break;
    if (line.empty() || line[0] == '#') continue;
    columns.clear();
    for (std::size_t from = 0;;) {
      const std::size_t tab = line.find('\t', from);
      columns.push_back(line.substr(from, tab == std::string::npos ? tab : tab - from));
      if (tab == std::string::npos) break;
      from = tab + 1;
    }
    long long start = 0;
    long long end = 0;
    if (columns.size() != 9 || !parseInteger(columns[3], start) || !parseInteger(columns[4], end) ||
        start < 1 || end < start) {
      error = fileName + " line " + std::to_string(number) +
              ": not a GFF3 feature line (nine tab-separated columns, start and end whole "
              "numbers from 1)";
      return false;
    }
    std::map<std::string, std::string> a = attributes(columns[8]);
    if (columns[2] == "gene" || columns[2] == "pseudogene") {
      parents[a["ID"]] = {a["locus_tag"], a.count("gene") ? a["gene"] : a["Name"]};
      continue;
    }
    FeatureKind kind;
    if (!featureKindOf(columns[2], kind)) continue;
    const std::string id = a["ID"];
    const std::string seqid = gff3Decoded(columns[0]);
    const auto known = id.empty() ? byId.end() : byId.find(id);
    if (known != byId.end() && annotation.features[known->second].record == seqid) {
      annotation.features[known->second].segments.push_back({start - 1, end});
      continue;
    }
    Feature f;
    f.record = seqid;
    f.kind = kind;
    f.segments.push_back({start - 1, end});
    f.complement = columns[6] == "-";
    f.line = number;
    f.locusTag = a["locus_tag"];
    f.gene = a["gene"];
    f.product = a["product"];
    // Partial ends as NCBI writes them, start_range=.,N and end_range=N,., or as
    // Prodigal does, partial=XY.
    f.partialStart = a["start_range"].rfind(".,", 0) == 0 || partialMark(a["partial"], 0);
    f.partialEnd =
        (a["end_range"].size() > 2 && a["end_range"].substr(a["end_range"].size() - 2) == ",.") ||
        partialMark(a["partial"], 1);
    const auto parent = parents.find(a["Parent"]);
    if (parent != parents.end()) {
      if (f.locusTag.empty()) f.locusTag = parent->second.locusTag;
      if (f.gene.empty()) f.gene = parent->second.gene;
    }
    if (!id.empty()) byId[id] = annotation.features.size();
    annotation.features.push_back(std::move(f));
  }
  if (in.readError()) {
    error = systemErrorText("Cannot read " + fileName, in.readError());
    return false;
  }
  for (Feature& f : annotation.features) {
    std::sort(f.segments.begin(), f.segments.end(),
              [](const FeatureSegment& x, const FeatureSegment& y) { return x.start < y.start; });
  }
  return true;
}

bool readGff3(const std::string& text, const std::string& fileName, Annotation& annotation,
              std::string& error) {
  TextByteSource in(text);
  return readGff3(in, fileName, annotation, error);
}

}  // namespace morvale
