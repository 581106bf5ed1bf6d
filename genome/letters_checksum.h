// The checksum that identifies a genome's letters: the MD5 digest of the genome
// string (lower-case a, c, g, t only), as 32 lower-case hex digits. For a FASTA file
// it equals
//   grep -v '>' FILE | tr -dc ACGTacgt | tr ACGT acgt | md5sum
#pragma once

#include <string>

namespace morvale {

std::string lettersChecksum(const std::string& letters);

}  // namespace morvale
