#include "genome/genome_input.h"

#include "genome/letters_checksum.h"

namespace morvale {

void describeGenome(GenomeInput& input) {
  input.checksum = lettersChecksum(input.genome.letters);
}

}  // namespace morvale
