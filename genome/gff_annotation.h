// Annotation from a GFF3 file for a FASTA genome: its CDS, tRNA, tmRNA, rRNA,
// mobile element and repeat region features with their locus_tag, gene and product
// attributes (taken from the parent gene where the feature lacks them), partial
// ends from start_range=.,N and end_range=N,. as NCBI writes them or from
// partial=XY as Prodigal does (X the lower end, Y the upper, 1 where the gene runs
// on). A feature of several lines with one ID (a joined CDS) is one feature; a
// ##FASTA section is ignored.
#pragma once

#include <string>

#include "genome/annotation.h"
#include "genome/byte_source.h"

namespace morvale {

// Reads the GFF3 file `fileName` from `in`, line by line, into `annotation`;
// seqids and attribute values are percent-decoded. Returns false with `error`
// naming the file and line when it is not GFF3 (no "##gff-version 3" line first,
// with any run of blanks before the 3, or a feature line without nine columns or
// with positions that are not whole numbers), or the reason when it cannot be read.
bool readGff3(ByteSource& in, const std::string& fileName, Annotation& annotation,
              std::string& error);
// The same for the text of the file, held in memory.
bool readGff3(const std::string& text, const std::string& fileName, Annotation& annotation,
              std::string& error);

}  // namespace morvale
