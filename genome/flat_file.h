// GenBank (LOCUS ... ORIGIN ... //) and EMBL (ID ... SQ ... //) flat files, one or
// many records, read line by line in one pass: each record's sequence, named by its
// accession.version (else its LOCUS or ID name), and its CDS, tRNA, tmRNA, rRNA,
// mobile_element and repeat_region features with their locus tag, gene and product.
// Only the letters and those features are kept.
#pragma once

#include <string>
#include <vector>

#include "genome/annotation.h"
#include "genome/byte_source.h"
#include "genome/genome.h"

namespace morvale {

struct FlatFile {
  Genome genome;  // the records' letters, read by the genome file's rules
  Annotation annotation;
  // One line for each feature left out because it lies only on another entry.
  std::vector<std::string> warnings;
};

// Reads the flat file `fileName` from `in`. A UTF-8 byte-order mark, blank lines
// and spaces before a record's first line are passed over. Returns false with
// `error` set to one line naming the file and line when it is not what it claims
// (a record that ends before its "//", one without sequence, a location that
// cannot be read), or the reason when it cannot be read.
bool readFlatFile(ByteSource& in, const std::string& fileName, FlatFile& flat, std::string& error);
// The same for the text of the file, held in memory.
bool readFlatFile(const std::string& text, const std::string& fileName, FlatFile& flat,
                  std::string& error);

}  // namespace morvale
