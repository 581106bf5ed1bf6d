// Each record's letters as they stand in a genome file, for writing stretches of
// them back out (islands.fasta): case kept, N, the other letters and gap signs
// included, so that position p of record r is the byte the genome reader mapped there.
#pragma once

#include <string>
#include <vector>

#include "genome/byte_source.h"

namespace morvale {

// Reads `in` front to back once into `letters`, one string per record in file
// order, matching the records of readGenomeFrom (FASTA or plain sequence: every
// letter, '-', '*' and '.' outside headers) and of the flat-file reader (GenBank or
// EMBL, recognised by a first line LOCUS or "ID   " after a byte-order mark and
// blank lines: the letters, '-' and '*' of the lines after ORIGIN or SQ up to "//").
// letters[r][p] is record position p (0-based). False when a read fails.
bool readRecordLetters(ByteSource& in, std::vector<std::string>& letters);

}  // namespace morvale
