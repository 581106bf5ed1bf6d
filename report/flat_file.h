// GenBank (LOCUS ... ORIGIN ... //) and EMBL (ID ... SQ ... //) flat files, one or
// many records: each record's sequence, named by its accession.version (else its
// LOCUS or ID name), and its CDS, tRNA, tmRNA, rRNA, mobile_element and
// repeat_region features with their locus tag, gene and product.
#pragma once

#include <string>

#include "kmer/genome.h"
#include "report/annotation.h"

namespace morvale::report {

struct FlatFile {
  Genome genome;  // the records' letters, read by the genome file's rules
  Annotation annotation;
};

// Reads the text of a flat file named `fileName`. Returns false with `error` set to
// one line naming the file and line when it is not what it claims (a record that
// ends before its "//", one without sequence, a location that cannot be read).
bool readFlatFile(const std::string& text, const std::string& fileName, FlatFile& flat,
                  std::string& error);

// Reads a feature location ("complement(join(<1..296,300..>400))"), 1-based and
// inclusive, into `feature` (0-based, end exclusive). False when it cannot be read;
// parts on other records ("J00194.1:100..202") are left out.
bool readLocation(const std::string& location, Feature& feature);

}  // namespace morvale::report
