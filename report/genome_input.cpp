#include "report/genome_input.h"

#include "report/flat_file.h"
#include "report/gzip_source.h"

namespace morvale::report {

std::string readAnnotatedGenome(const std::string& fileName, const Annotation* gff,
                                AnnotatedGenome& input) {
  input = AnnotatedGenome();
  input.genome = readGenomeFile(fileName);
  const GenomeStatus status = input.genome.status;
  if (status == GenomeStatus::kGenBank || status == GenomeStatus::kEmbl) {
    std::string text;
    std::string error;
    FlatFile flat;
    if (!readTextFile(fileName, text, error) || !readFlatFile(text, fileName, flat, error))
      return error;
    input.genome = std::move(flat.genome);
    input.annotation = std::move(flat.annotation);
    input.annotated = true;
  } else if (gff && status == GenomeStatus::kOk) {
    input.annotation = *gff;
    input.annotated = true;
  }
  if (input.annotated && input.genome.status == GenomeStatus::kOk)
    input.warnings = placeFeatures(input.annotation, input.genome, fileName);
  return "";
}

}  // namespace morvale::report
