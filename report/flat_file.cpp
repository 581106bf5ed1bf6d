#include "report/flat_file.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include "base/tokens.h"

namespace morvale::report {

namespace {

// The genome reader's rules applied to text held in memory.
class TextSource : public ByteSource {
 public:
  explicit TextSource(const std::string& text) : text_(text) {}
  int next() override { return at_ < text_.size() ? static_cast<unsigned char>(text_[at_++]) : -1; }
  int readError() override { return 0; }
  bool rewind() override {
    at_ = 0;
    return true;
  }

 private:
  const std::string& text_;
  std::size_t at_ = 0;
};

std::string trim(const std::string& s) {
  const std::size_t from = s.find_first_not_of(" \t\r");
  if (from == std::string::npos) return "";
  return s.substr(from, s.find_last_not_of(" \t\r") - from + 1);
}

// Location grammar: LOC := complement(LOC) | join(LOC,...) | order(LOC,...) |
// [ACC:]RANGE; RANGE := [<]N[..[>]N] | N^N.
class LocationReader {
 public:
  LocationReader(const std::string& text, Feature& f) : s_(text), f_(f) {}
  bool read() {
    s_.erase(std::remove_if(s_.begin(), s_.end(),
                            [](char c) { return std::isspace(static_cast<unsigned char>(c)); }),
             s_.end());
    if (!location(false) || at_ != s_.size() || f_.segments.empty()) return false;
    std::sort(f_.segments.begin(), f_.segments.end(),
              [](const FeatureSegment& a, const FeatureSegment& b) { return a.start < b.start; });
    return true;
  }

 private:
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
    // A part on another record: its accession, then a colon.
    const std::size_t colon = s_.find(':', at_);
    const std::size_t stop = s_.find_first_of(",)", at_);
    const bool remote = colon != std::string::npos && (stop == std::string::npos || colon < stop);
    if (remote) at_ = colon + 1;
    const bool openStart = word("<");
    std::int64_t first = 0;
    if (!number(first)) return false;
    std::int64_t last = first;
    bool openEnd = false;
    if (word("..")) {
      openEnd = word(">");
      if (!number(last) || last < first) return false;
    } else if (word("^")) {
      if (!number(last)) return false;
      return true;  // a site between two bases: no letters
    }
    if (remote) return true;
    f_.segments.push_back({first - 1, last});
    f_.partialStart = f_.partialStart || openStart;
    f_.partialEnd = f_.partialEnd || openEnd;
    return true;
  }
  std::string s_;
  std::size_t at_ = 0;
  Feature& f_;
};

// One record's feature table, its lines with the five-character prefix removed.
struct TableLine {
  std::string text;
  std::size_t line;
};

// Turns the feature table into features of `record`.
bool readFeatures(const std::vector<TableLine>& table, const std::string& record,
                  const std::string& fileName, Annotation& annotation, std::string& error) {
  for (std::size_t i = 0; i < table.size();) {
    const std::string key =
        trim(table[i].text.substr(0, std::min<std::size_t>(16, table[i].text.size())));
    if (key.empty()) {
      ++i;
      continue;
    }
    Feature f;
    f.record = record;
    f.line = table[i].line;
    const bool wanted = featureKindOf(key, f.kind);
    std::string location = table[i].text.size() > 16 ? trim(table[i].text.substr(16)) : "";
    std::vector<std::string> qualifiers;
    for (++i;
         i < table.size() &&
         trim(table[i].text.substr(0, std::min<std::size_t>(16, table[i].text.size()))).empty();
         ++i) {
      const std::string rest = table[i].text.size() > 16 ? trim(table[i].text.substr(16)) : "";
      if (!rest.empty() && rest[0] == '/') {
        qualifiers.push_back(rest);
      } else if (qualifiers.empty()) {
        location += rest;
      } else {
        qualifiers.back() += " " + rest;
      }
    }
    if (!wanted) continue;
    if (!readLocation(location, f)) {
      error = fileName + " line " + std::to_string(f.line) + ": the location \"" +
              location.substr(0, 60) + "\" of a " + key + " feature cannot be read";
      return false;
    }
    for (const std::string& q : qualifiers) {
      const std::size_t equals = q.find('=');
      const std::string name =
          q.substr(1, equals == std::string::npos ? std::string::npos : equals - 1);
      std::string value = equals == std::string::npos ? "" : trim(q.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      if (name == "locus_tag") f.locusTag = value;
      if (name == "gene") f.gene = value;
      if (name == "product") f.product = value;
    }
    annotation.features.push_back(std::move(f));
  }
  return true;
}

}  // namespace

bool readLocation(const std::string& location, Feature& feature) {
  return LocationReader(location, feature).read();
}

bool readFlatFile(const std::string& text, const std::string& fileName, FlatFile& flat,
                  std::string& error) {
  std::istringstream lines(text);
  std::string fasta;  // the records as FASTA, read by the genome file's rules
  flat.annotation.file = fileName;
  std::string line;
  std::size_t number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (trim(line).empty()) continue;
    const bool genBank = line.rfind("LOCUS", 0) == 0;
    const bool embl = line.rfind("ID   ", 0) == 0;
    if (!genBank && !embl) {
      error = fileName + " line " + std::to_string(number) + ": a record must start with " +
              "LOCUS (GenBank) or ID (EMBL)";
      return false;
    }
    const std::size_t recordLine = number;
    std::istringstream head(line.substr(genBank ? 5 : 2));
    std::string name;
    head >> name;
    if (embl && !name.empty() && name.back() == ';') name.pop_back();
    std::string accession;
    std::string version;
    std::string sequence;
    std::vector<TableLine> table;
    bool inSequence = false;
    bool ended = false;
    if (embl) {
      const std::size_t sv = line.find("SV ");
      if (sv != std::string::npos) version = std::to_string(std::atoi(line.c_str() + sv + 3));
    }
    while (std::getline(lines, line)) {
      ++number;
      if (line.rfind("//", 0) == 0) {
        ended = true;
        break;
      }
      if (inSequence) {
        for (char c : line)
          if (std::isalpha(static_cast<unsigned char>(c)) || c == '-' || c == '*') sequence += c;
      } else if (genBank && line.rfind("ORIGIN", 0) == 0) {
        inSequence = true;
      } else if (embl && line.rfind("SQ", 0) == 0) {
        inSequence = true;
      } else if (genBank && line.rfind("VERSION", 0) == 0) {
        std::istringstream(line.substr(7)) >> accession;
      } else if (genBank && line.rfind("ACCESSION", 0) == 0 && accession.empty()) {
        std::istringstream(line.substr(9)) >> accession;
      } else if (embl && line.rfind("AC   ", 0) == 0 && accession.empty()) {
        std::istringstream(line.substr(5)) >> accession;
        if (!accession.empty() && accession.back() == ';') accession.pop_back();
      } else if ((genBank && line.rfind("     ", 0) == 0) ||
                 (embl && line.rfind("FT   ", 0) == 0)) {
        table.push_back({line.substr(5), number});
      }
    }
    if (!ended) {
      error = fileName + " line " + std::to_string(recordLine) + ": the record " + name +
              " ends before its \"//\" line (the file is cut short)";
      return false;
    }
    if (!inSequence) {
      error = fileName + " line " + std::to_string(recordLine) + ": the record " + name +
              " holds no sequence (" + (genBank ? "ORIGIN" : "SQ") + ")";
      return false;
    }
    if (embl && !accession.empty() && !version.empty() && accession.find('.') == std::string::npos)
      accession += "." + version;
    const std::string record = accession.empty() ? name : accession;
    fasta += ">" + record + "\n" + sequence + "\n";
    if (!readFeatures(table, record, fileName, flat.annotation, error)) return false;
  }
  if (fasta.empty()) {
    error = fileName + ": holds no record";
    return false;
  }
  TextSource source(fasta);
  flat.genome = readGenomeFrom(source);
  return true;
}

}  // namespace morvale::report
