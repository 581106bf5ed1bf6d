#include "batch/sample_sheet.h"

#include <algorithm>
#include <fstream>
#include <set>

#include "base/tsv_text.h"
#include "batch/output_layout.h"

namespace morvale {

namespace {

// The length of the UTF-8 sequence that starts at text[at], 0 when none does (a
// stray continuation byte, an overlong or surrogate form, past U+10FFFF, cut short).
std::size_t utf8Length(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char c = byte(at);
  if (c < 0x80) return 1;
  std::size_t n = c >= 0xf0 && c <= 0xf4 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 && c < 0xe0 ? 2 : 0;
  if (n == 0 || at + n > text.size()) return 0;
  for (std::size_t i = 1; i < n; ++i)
    if ((byte(at + i) & 0xc0) != 0x80) return 0;
  const unsigned char d = byte(at + 1);
  if ((c == 0xe0 && d < 0xa0) || (c == 0xed && d >= 0xa0) || (c == 0xf0 && d < 0x90) ||
      (c == 0xf4 && d >= 0x90))
    return 0;
  return n;
}

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::string nameProblem(const std::string& name) {
  if (name.empty()) return "a name cannot be empty";
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t n = utf8Length(name, at);
    if (n == 0) return "a name must be valid UTF-8";
    const unsigned char c = static_cast<unsigned char>(name[at]);
    if (c < 0x20 || c == 0x7f) return "a name cannot hold control characters";
    at += n;
  }
  if (name.find_first_of("/\\") != std::string::npos) return "a name cannot hold '/' or '\\'";
  if (name.find_first_of("{}") != std::string::npos) return "a name cannot hold '{' or '}'";
  if (name[0] == '.') return "a name cannot start with '.'";
  if (endsWith(name, ".tmp") || layout::reservedName(name))
    return "the output folder keeps that name for itself";
  if (name.size() > kMaxNameBytes)
    return "a name can have at most " + std::to_string(kMaxNameBytes) + " bytes";
  return "";
}

std::string sheetValue(const std::string& cell) {
  const auto trimmed = [](const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
  };
  std::string value = trimmed(cell);
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    value = trimmed(value.substr(1, value.size() - 2));
  return value;
}

bool readSampleSheet(const std::string& path, bool needGenomes, std::vector<SampleRow>& rows,
                     std::string& error) {
  std::ifstream in(path);
  std::string line;
  if (!in || !std::getline(in, line)) {
    error = "cannot read the sample sheet " + path;
    return false;
  }
  std::vector<std::string> header = splitTabs(line);
  std::transform(header.begin(), header.end(), header.begin(), sheetValue);
  const auto column = [&](const char* name) {
    return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
  };
  const std::size_t name = column("name"), genome = column("genome");
  const std::size_t annotation = column("annotation");
  if (name == header.size() || (needGenomes && genome == header.size())) {
    error = path + ":1: the header must name the columns name" +
            (needGenomes ? " and genome" : "") + " (tab-separated)";
    return false;
  }
  std::set<std::string> seen;
  for (std::size_t number = 2; std::getline(in, line); ++number) {
    const std::vector<std::string> cells = splitTabs(line);
    if (cells.size() == 1 && sheetValue(cells[0]).empty()) continue;
    const auto cell = [&](std::size_t c) { return c < cells.size() ? sheetValue(cells[c]) : ""; };
    SampleRow row{cell(name), cell(genome), cell(annotation), number};
    const std::string where = path + ":" + std::to_string(number) + ": ";
    if (row.name.empty() || (needGenomes && row.genome.empty())) {
      error = where + (needGenomes ? "a row needs a name and a genome" : "a row needs a name");
      return false;
    }
    if (needGenomes && row.genome == "-") {
      error = where + "a genome cannot be -: the sheet's genomes are files";
      return false;
    }
    const std::string problem = nameProblem(row.name);
    if (!problem.empty()) {
      error = where + "the name " + tsvField(row.name) + ": " + problem;
      return false;
    }
    if (!seen.insert(row.name).second) {
      error = where + "the name " + row.name + " is given twice";
      return false;
    }
    rows.push_back(std::move(row));
  }
  if (in.bad()) {
    error = "cannot read the sample sheet " + path;
    return false;
  }
  return true;
}

int printSampleSheet(const std::string& path, std::ostream& out, std::ostream& err) {
  std::vector<SampleRow> rows;
  std::string error;
  if (!readSampleSheet(path, true, rows, error)) {
    err << "morvale-run: " << error << std::endl;
    return 1;
  }
  out << "name\tgenome\tannotation\n";
  for (const SampleRow& row : rows)
    out << row.name << '\t' << row.genome << '\t' << row.annotation << '\n';
  out.flush();
  return out ? 0 : 1;
}

}  // namespace morvale
