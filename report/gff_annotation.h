// Annotation from a GFF3 file for a FASTA genome: its CDS, tRNA, tmRNA, rRNA,
// mobile element and repeat region features with their locus_tag, gene and product
// attributes (taken from the parent gene where the feature lacks them), partial
// ends from start_range=.,N and end_range=N,. as NCBI writes them. A feature
// of several lines with one ID (a joined CDS) is one feature; a ##FASTA section
// is ignored.
#pragma once

#include <string>

#include "report/annotation.h"

namespace morvale::report {

// Reads the text of the GFF3 file `fileName` into `annotation`. Returns false with
// `error` naming the file and line when it is not GFF3 (no "##gff-version 3" line
// first, or a feature line without nine columns or with positions that are not
// whole numbers).
bool readGff3(const std::string& text, const std::string& fileName, Annotation& annotation,
              std::string& error);

}  // namespace morvale::report
