#include "genome/flat_file.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "base/system_error.h"
#include "base/tokens.h"

namespace morvale {

namespace {

std::string trim(const std::string& s) {
  const std::size_t from = s.find_first_not_of(" \t\r");
  if (from == std::string::npos) return "";
  return s.substr(from, s.find_last_not_of(" \t\r") - from + 1);
}

bool startsWith(const std::string& s, const char* prefix) {
  return s.rfind(prefix, 0) == 0;
}

// A qualifier value as written: a quoted one without its quotes, "" read as ".
std::string qualifierValue(const std::string& written) {
  const std::string value = trim(written);
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') return value;
  std::string out;
  for (std::size_t i = 1; i + 1 < value.size(); ++i) {
    out += value[i];
    if (value[i] == '"' && value[i + 1] == '"' && i + 2 < value.size()) ++i;
  }
  return out;
}

// The feature table of one record, read line by line (without the five-character
// prefix): one feature is held at a time, and of its qualifiers only those kept.
class FeatureTable {
 public:
  FeatureTable(const std::string& fileName, FlatFile& flat) : file_(fileName), flat_(flat) {}

  bool line(const std::string& text, std::size_t number, std::string& error) {
    const std::string key = trim(text.substr(0, std::min<std::size_t>(16, text.size())));
    const std::string rest = text.size() > 16 ? trim(text.substr(16)) : "";
    if (!key.empty()) {
      if (!finish(error)) return false;
      open_ = true;
      key_ = key;
      feature_ = Feature();
      feature_.line = number;
      wanted_ = featureKindOf(key, feature_.kind);
      location_ = rest;
      inQualifiers_ = false;
      kept_ = nullptr;
      return true;
    }
    if (!open_ || !wanted_) return true;
    if (!rest.empty() && rest[0] == '/') {
      inQualifiers_ = true;
      const std::size_t equals = rest.find('=');
      const std::string name =
          rest.substr(1, equals == std::string::npos ? std::string::npos : equals - 1);
      kept_ = name == "locus_tag" ? &locusTag_
              : name == "gene"    ? &gene_
              : name == "product" ? &product_
                                  : nullptr;
      if (kept_) *kept_ = equals == std::string::npos ? "" : rest.substr(equals + 1);
    } else if (!inQualifiers_) {
      location_ += rest;
    } else if (kept_) {
      *kept_ += " " + rest;
    }
    return true;
  }

  // Ends the feature being read, if any: adds it, or warns of it.
  bool finish(std::string& error) {
    if (!open_ || !wanted_) {
      open_ = false;
      return true;
    }
    open_ = false;
    if (!readLocation(location_, feature_)) {
      error = file_ + " line " + std::to_string(feature_.line) + ": the location \"" +
              location_.substr(0, 60) + "\" of a " + key_ + " feature cannot be read";
      return false;
    }
    feature_.locusTag = qualifierValue(locusTag_);
    feature_.gene = qualifierValue(gene_);
    feature_.product = qualifierValue(product_);
    locusTag_.clear();
    gene_.clear();
    product_.clear();
    if (feature_.segments.empty()) {
      flat_.warnings.push_back(file_ + " line " + std::to_string(feature_.line) + ": the " + key_ +
                               " feature at " + location_.substr(0, 60) +
                               " lies only on another entry; it is skipped");
      return true;
    }
    flat_.annotation.features.push_back(std::move(feature_));
    return true;
  }

 private:
  const std::string& file_;
  FlatFile& flat_;
  bool open_ = false;
  bool wanted_ = false;
  bool inQualifiers_ = false;
  std::string key_;
  Feature feature_;
  std::string location_;
  std::string locusTag_, gene_, product_;
  std::string* kept_ = nullptr;  // the qualifier whose lines are being read, if kept
};

// One record, its first line already read: its header lines, features and letters.
bool readRecord(ByteSource& in, const std::string& first, bool genBank, std::size_t& number,
                const std::string& fileName, GenomeBuilder& letters, FlatFile& flat,
                std::string& error) {
  const std::size_t recordLine = number;
  std::istringstream head(first.substr(genBank ? 5 : 2));
  std::string name;
  head >> name;
  if (!genBank && !name.empty() && name.back() == ';') name.pop_back();
  std::string accession;
  std::string version;
  if (!genBank) {
    const std::size_t sv = first.find("SV ");
    if (sv != std::string::npos) version = std::to_string(std::atoi(first.c_str() + sv + 3));
  }
  const std::size_t firstFeature = flat.annotation.features.size();
  FeatureTable table(fileName, flat);
  bool inSequence = false;
  bool ended = false;
  std::string line;
  while (readLine(in, line)) {
    ++number;
    if (startsWith(line, "//")) {
      ended = true;
      break;
    }
    if (inSequence) {
      for (const char c : line)
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '-' || c == '*')
          letters.sequenceByte(c);
    } else if (startsWith(line, genBank ? "ORIGIN" : "SQ")) {
      if (!table.finish(error)) return false;
      inSequence = true;
      if (!genBank && !accession.empty() && !version.empty() &&
          accession.find('.') == std::string::npos)
        accession += "." + version;
      letters.namedRecord(accession.empty() ? name : accession);
    } else if (genBank && startsWith(line, "VERSION")) {
      std::istringstream(line.substr(7)) >> accession;
    } else if (genBank && startsWith(line, "ACCESSION") && accession.empty()) {
      std::istringstream(line.substr(9)) >> accession;
    } else if (!genBank && startsWith(line, "AC   ") && accession.empty()) {
      std::istringstream(line.substr(5)) >> accession;
      if (!accession.empty() && accession.back() == ';') accession.pop_back();
    } else if (startsWith(line, genBank ? "     " : "FT   ")) {
      if (!table.line(line.substr(5), number, error)) return false;
    }
  }
  if (!ended) {
    error = in.readError() ? systemErrorText("Cannot read " + fileName, in.readError())
                           : fileName + " line " + std::to_string(recordLine) + ": the record " +
                                 name + " ends before its \"//\" line (the file is cut short)";
    return false;
  }
  if (!inSequence) {
    error = fileName + " line " + std::to_string(recordLine) + ": the record " + name +
            " holds no sequence (" + (genBank ? "ORIGIN" : "SQ") + ")";
    return false;
  }
  const std::string& record = flat.genome.records.back().name;
  for (std::size_t f = firstFeature; f < flat.annotation.features.size(); ++f)
    flat.annotation.features[f].record = record;
  return true;
}

}  // namespace

bool readFlatFile(ByteSource& in, const std::string& fileName, FlatFile& flat, std::string& error) {
  flat.annotation.file = fileName;
  GenomeBuilder letters(flat.genome, true);
  std::string line;
  std::size_t number = 0;
  std::size_t records = 0;
  while (readLine(in, line)) {
    ++number;
    if (number == 1 && startsWith(line, "\xef\xbb\xbf")) line.erase(0, 3);
    const std::size_t from = line.find_first_not_of(" \t\r\v\f");
    if (from == std::string::npos) continue;
    line.erase(0, from);
    const bool genBank = startsWith(line, "LOCUS");
    if (!genBank && !startsWith(line, "ID   ")) {
      error = fileName + " line " + std::to_string(number) + ": a record must start with " +
              "LOCUS (GenBank) or ID (EMBL)";
      return false;
    }
    if (!readRecord(in, line, genBank, number, fileName, letters, flat, error)) return false;
    ++records;
  }
  if (in.readError()) {
    error = systemErrorText("Cannot read " + fileName, in.readError());
    return false;
  }
  if (records == 0) {
    error = fileName + ": holds no record";
    return false;
  }
  letters.finish();
  return true;
}

bool readFlatFile(const std::string& text, const std::string& fileName, FlatFile& flat,
                  std::string& error) {
  TextByteSource in(text);
  return readFlatFile(in, fileName, flat, error);
}

}  // namespace morvale
