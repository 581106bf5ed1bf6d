// Reading a genome file the way both companions do: FASTA, plain sequence,
// GenBank or EMBL, plain or gzip-compressed, with its annotation (a flat file's
// own, or a GFF3 file's for a FASTA genome) placed on its records.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "genome/annotation.h"
#include "genome/genome.h"

namespace morvale {

struct AnnotatedGenome {
  std::string error;  // "" or one line: a flat file that cannot be read
  Genome genome;      // its status says whether it can be scanned
  // The features that lie on its records; none for a genome without annotation.
  std::optional<Annotation> annotation;
  std::vector<std::string> warnings;        // one line per feature left out
  std::vector<std::string> readerWarnings;  // the flat file's own (features on other entries)
};

// Reads `fileName` (a flat file in one streaming pass). A GenBank or EMBL file
// brings its own features; a genome read as FASTA or plain sequence takes those of
// `gff` when there are any. Features that do not fit the genome are left out with a
// warning each. A genome that cannot be scanned is told by its status.
AnnotatedGenome readAnnotatedGenome(const std::string& fileName, std::optional<Annotation> gff);

// The same for a file's bytes held in memory (standard input, read whole and
// unpacked); `fileName` only names it.
AnnotatedGenome readAnnotatedBytes(const std::string& bytes, const std::string& fileName,
                                   std::optional<Annotation> gff);

}  // namespace morvale
