// GenBank (LOCUS ... ORIGIN ... //) and EMBL (ID ... SQ ... //) flat files, one or
// many records, read line by line in one pass: each record's sequence, named by its
// accession.version (else its LOCUS or ID name), and its CDS, tRNA, tmRNA, rRNA,
// mobile_element and repeat_region features with their locus tag, gene and product.
// Only the letters and those features are kept.
#pragma once

#include <string>
#include <vector>

#include "kmer/byte_source.h"
#include "kmer/genome.h"
#include "report/annotation.h"

namespace morvale::report {

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

// Reads a feature location ("complement(join(<1..296,300..>400))"), 1-based and
// inclusive, into `feature` (0-based, end exclusive); a partial mark counts only
// where it stands at the feature's first or last position. False when it cannot be
// read. Parts on other entries ("J00194.1:100..202") are left out: a location
// that lies only on others reads as true with no segments.
bool readLocation(const std::string& location, Feature& feature);

}  // namespace morvale::report
