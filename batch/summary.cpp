#include "batch/summary.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/number_text.h"
#include "base/system_error.h"
#include "base/tsv_text.h"
#include "base/whole_file.h"
#include "batch/index_page.h"
#include "batch/output_layout.h"
#include "report/loaded_run.h"

namespace morvale {

namespace fs = std::filesystem;

const std::vector<std::string>& summaryColumns() {
  static const std::vector<std::string> columns = {"length",         "gc_percent", "islands",
                                                   "island_letters", "cutoff",     "windows_tested",
                                                   "seconds",        "status",     "note"};
  return columns;
}

std::vector<std::string> summaryCells(const SummaryRow& s) {
  return {std::to_string(s.length),
          numberText("%.2f", s.gcPercent),
          std::to_string(s.islands),
          std::to_string(s.islandLetters),
          s.cutoff.empty() ? "NA" : s.cutoff,
          std::to_string(s.windowsTested),
          numberText("%.1f", s.seconds),
          statusText(s.status),
          tsvField(s.note)};
}

std::string summaryTable(const std::vector<SummaryRow>& rows) {
  std::string text = "genome";
  for (const std::string& column : summaryColumns()) text += "\t" + column;
  text += "\n";
  for (const SummaryRow& s : rows) {
    text += s.name;
    for (const std::string& cell : summaryCells(s)) text += "\t" + cell;
    text += "\n";
  }
  return text;
}

std::string writeSummary(const std::string& folder, const std::vector<SummaryRow>& rows,
                         const std::string& sections) {
  const std::vector<std::string>& columns = summaryColumns();
  std::vector<IndexRow> index;
  for (const SummaryRow& s : rows) {
    std::error_code ec;
    const std::string page = layout::genomePath(s.name, layout::GenomeFile::kReportHtml);
    const bool made = fs::exists(folder + "/" + page, ec);
    index.push_back({s.name, made ? page : "", summaryCells(s)});
  }
  std::string error =
      writeWholeFile(layout::runPath(folder, layout::RunFile::kSummary), summaryTable(rows));
  if (!error.empty()) return error;
  if (rows.size() < 2) return removeFileIfPresent(layout::runPath(folder, layout::RunFile::kIndex));
  std::ostringstream page;
  writeHtmlIndex(page, "Morvale: genomic islands of " + std::to_string(rows.size()) + " genomes",
                 columns, index, sections);
  return writeWholeFile(layout::runPath(folder, layout::RunFile::kIndex), page.str());
}

bool readSummary(const std::string& path, std::vector<SummaryRow>& rows, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::string line;
  std::string header = "genome";
  for (const std::string& column : summaryColumns()) header += "\t" + column;
  if (!std::getline(in, line) || line != header) {
    error = path + ": not a morvale-run summary (its first line is not the summary's header)";
    return false;
  }
  rows.clear();
  for (std::size_t number = 2; std::getline(in, line); ++number) {
    const std::vector<std::string> cells = splitTabs(line);
    SummaryRow row(cells[0]);
    try {
      if (cells.size() != summaryColumns().size() + 1) throw std::invalid_argument("columns");
      row.length = std::stoll(cells[1]);
      row.gcPercent = std::stod(cells[2]);
      row.islands = static_cast<std::size_t>(std::stoull(cells[3]));
      row.islandLetters = std::stoll(cells[4]);
      row.cutoff = cells[5] == "NA" ? "" : cells[5];
      row.windowsTested = std::stoll(cells[6]);
      row.seconds = std::stod(cells[7]);
      if (!parseStatus(cells[8], row.status)) throw std::invalid_argument("status");
    } catch (const std::exception&) {
      error = path + ": line " + std::to_string(number) + " is not a summary row";
      return false;
    }
    row.note = cells[9];
    rows.push_back(std::move(row));
  }
  return true;
}

}  // namespace morvale
