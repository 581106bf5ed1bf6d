// Reading a genome file the way both companions do: FASTA, plain sequence,
// GenBank or EMBL, plain or gzip-compressed, with its annotation (a flat file's
// own, or a GFF3 file's for a FASTA genome) placed on its records.
#pragma once

#include <string>
#include <vector>

#include "genome/annotation.h"
#include "genome/genome.h"

namespace morvale {

struct AnnotatedGenome {
  Genome genome;  // its status says whether it can be scanned
  bool annotated = false;
  Annotation annotation;                    // the features that lie on its records
  std::vector<std::string> warnings;        // one line per feature left out
  std::vector<std::string> readerWarnings;  // the flat file's own (features on other entries)
};

// Reads `fileName` (a flat file in one streaming pass). A GenBank or EMBL file
// brings its own features; a genome read as FASTA or plain sequence takes those of
// `gff` when it is not null, moved out of it when `takeGff` (the last genome to
// need them), else copied. Features
// that do not fit the genome are left out with a warning each. Returns "" or one
// line naming the file and the problem when a flat file cannot be read; a genome
// that cannot be scanned is told by its status.
// With `bytes` not null, the file's bytes are those (standard input, read whole
// and unpacked) and `fileName` only names it.
std::string readAnnotatedGenome(const std::string& fileName, Annotation* gff, bool takeGff,
                                AnnotatedGenome& input, const std::string* bytes = nullptr);

}  // namespace morvale
