// Gene calling for a genome without annotation: Prodigal, found on PATH and
// started with an argument vector, is given the records' letters as FASTA and
// writes the genes it finds as GFF3, which genome/gff_annotation.h reads.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "genome/genome_records.h"

namespace morvale {

// The one line given when Prodigal is not on PATH.
extern const char* const kProdigalMissing;

struct GeneCallSettings {
  // Asked about every 50 ms while Prodigal runs; true stops it.
  std::function<bool()> stopAsked;  // empty: morvale::stopRequested
};

struct GeneCall {
  // "" when done; "interrupted" when a stop was asked (Prodigal ended, nothing
  // left behind); else one line: kProdigalMissing, or how Prodigal failed (its exit
  // status and the last error line it wrote), or a file that could not be written.
  std::string error;
  std::string version;  // Prodigal's, e.g. "2.6.3", once known
};

// Prodigal's version from `prodigal -v` ("Prodigal V2.6.3: February, 2016" gives
// "2.6.3"), with `error` set as in GeneCall when it cannot be had.
GeneCall prodigalVersion(const GeneCallSettings& settings = {});

// Calls the genes of the genome whose records are `records`, with their letters
// `recordLetters` as they stand in the file (readRecordLetters): runs
//   prodigal -i FASTA -o GFF -f gff -p single -q
// (single-genome mode: one model trained on all records together, which must hold
// 20,000 letters at least). FASTA is a temporary file in `folder`
// (.morvale-genes-PID-N.fasta) holding each record under its name (the letters 70
// a line, every byte that is not a letter written as 'n', so Prodigal's positions
// are the record's); GFF is a temporary file there too, renamed to `gffPath` (on
// the same file system) only when Prodigal succeeds. Both temporaries are gone
// when this returns, however it ends (a process killed outright leaves them).
// Prodigal's seqids are the records' names, so a record without a name, or with a
// name that GFF3 would read otherwise (one holding "%XX"), is refused before
// Prodigal starts. The version is asked first.
GeneCall callGenes(const std::vector<GenomeRecord>& records,
                   const std::vector<std::string>& recordLetters, const std::string& folder,
                   const std::string& gffPath, const GeneCallSettings& settings = {});

}  // namespace morvale
