#include "genome/annotated_genome.h"

#include <memory>

#include "base/system_error.h"
#include "genome/flat_file.h"
#include "genome/input_file.h"

namespace morvale {

std::string readAnnotatedGenome(const std::string& fileName, Annotation* gff, bool takeGff,
                                AnnotatedGenome& input, const std::string* bytes) {
  input = AnnotatedGenome();
  input.genome = bytes ? readGenomeBytes(*bytes) : readGenomeFile(fileName);
  const GenomeStatus status = input.genome.status;
  if (status == GenomeStatus::kGenBank || status == GenomeStatus::kEmbl) {
    std::string error;
    int openError = 0;
    FlatFile flat;
    const std::unique_ptr<ByteSource> in =
        bytes ? std::make_unique<TextByteSource>(*bytes) : openInputFile(fileName, openError);
    if (!in) return systemErrorText("Cannot open " + fileName, openError);
    if (!readFlatFile(*in, fileName, flat, error)) return error;
    input.genome = std::move(flat.genome);
    input.annotation = std::move(flat.annotation);
    input.readerWarnings = std::move(flat.warnings);
    input.annotated = true;
  } else if (gff && status == GenomeStatus::kOk) {
    input.annotation = takeGff ? std::move(*gff) : *gff;
    input.annotated = true;
  }
  if (input.annotated && input.genome.status == GenomeStatus::kOk)
    input.warnings = placeFeatures(input.annotation, input.genome, fileName);
  return "";
}

}  // namespace morvale
