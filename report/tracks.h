// The track writers of a loaded run: BED and GFF3 tracks, the islands table, the
// genes of each island and the islands' letters (islands.fasta), each in record
// positions as the genome file has them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "report/loaded_run.h"

namespace morvale::report {

// BED (0-based, end exclusive) and GFF3 (1-based, inclusive) in record positions;
// the table has 1-based inclusive positions too.
void writeBed(std::ostream& out, const LoadedRun& in);
void writeGff3(std::ostream& out, const LoadedRun& in);
void writeTable(std::ostream& out, const LoadedRun& in);
// One row per island and gene it overlaps or tRNA site near it; with scored genes,
// each gene's composition (codon bias, GC3, dinucleotide distance, atypicality and
// whether it is atypical; NA for other features and genes not scored).
void writeGenes(std::ostream& out, const LoadedRun& in);
// With scored genes, one row per island: its genes, scored and atypical genes, the
// atypical fraction and median atypicality of the scored ones (NA with none), the
// GC3 deviation (percentage points), its mobility genes, tRNA sites and the names of
// its atypical genes.
void writeEvidence(std::ostream& out, const LoadedRun& in);

// The text of islands.fasta for the run `in`: ">island_3 record:start-end" (1-based,
// inclusive, as islands.tsv), then the letters 60 a line. `recordLetters` holds each
// record of `in.genome` as it stands in the file (readRecordLetters). False with
// `error` set to one line when they do not match its records (the file changed
// between the reads).
bool islandsFasta(const LoadedRun& in, const std::vector<std::string>& recordLetters,
                  std::string& text, std::string& error);

}  // namespace morvale::report
