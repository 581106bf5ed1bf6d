// A genome as one run reads it: the file it came from, its letters and records, and
// the checksum of its letters that the run records keep.
#pragma once

#include <string>

#include "genome/genome.h"

namespace morvale {

struct GenomeInput {
  std::string fileName;  // as given ("standard input" for -)
  Genome genome;
  std::string checksum;  // of the letters; set by describeGenome
};

// Fills in the checksum of a genome read without error.
void describeGenome(GenomeInput& input);

}  // namespace morvale
