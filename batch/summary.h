// The summary of one morvale-run: a row per genome (or per record with --per-record)
// in summary.tsv, and index.html linking each genome's page when there are several.
// Both files are written whole into the output folder; summary.tsv reads back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "batch/run_status.h"

namespace morvale {

// What the summary says of one genome, or of one record with --per-record.
struct SummaryRow {
  SummaryRow() = default;
  explicit SummaryRow(std::string genomeName) : name(std::move(genomeName)) {}
  std::string name;  // the folder under the output folder, e.g. "ecoli" or "ecoli/chr1"
  std::int64_t length = 0;
  double gcPercent = 0.0;
  std::size_t islands = 0;
  std::int64_t islandLetters = 0;
  std::string cutoff;  // the first phase's, as chosen; "" for none yet
  std::int64_t windowsTested = 0;
  double seconds = 0.0;
  RunStatus status;
  std::string note;
};

// The summary's column names after "genome", in order.
const std::vector<std::string>& summaryColumns();

// The summary's columns after the genome's name, as text (tabs and line ends in the
// status and note made spaces).
std::vector<std::string> summaryCells(const SummaryRow& row);

// The text of summary.tsv: the header line, then a line per row.
std::string summaryTable(const std::vector<SummaryRow>& rows);

// Writes folder/summary.tsv, and folder/index.html when there are two rows or more,
// with `sections` (whole HTML sections) under its table; with fewer, an index.html of
// an earlier run is removed. "" or the problem, one line.
std::string writeSummary(const std::string& folder, const std::vector<SummaryRow>& rows,
                         const std::string& sections = "");

// Reads a summary.tsv written by writeSummary. False with `error` (one line) when the
// file cannot be read or is not such a summary.
bool readSummary(const std::string& path, std::vector<SummaryRow>& rows, std::string& error);

}  // namespace morvale
