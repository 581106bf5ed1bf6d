// islands.fasta: one FASTA record per island piece, holding the letters of its
// record over the piece exactly as the genome file has them (for BLAST or an
// annotation tool), named as the island table names it.
#pragma once

#include <string>
#include <vector>

#include "report/report.h"

namespace morvale::report {

// The text of islands.fasta for the run `in`: ">island_3 record:start-end" (1-based,
// inclusive, as islands.tsv), then the letters 60 a line. `recordLetters` holds each
// record of `in.genome` as it stands in the file (readRecordLetters). False with
// `error` set to one line when they do not match its records (the file changed
// between the reads).
bool islandsFasta(const LoadedRun& in, const std::vector<std::string>& recordLetters,
                  std::string& text, std::string& error);

}  // namespace morvale::report
