#include "genome/annotated_genome.h"

#include <memory>

#include "base/system_error.h"
#include "genome/flat_file.h"
#include "genome/input_file.h"

namespace morvale {

namespace {

// Reads the genome of `bytes` when given, else of the file `fileName`.
AnnotatedGenome readAnnotated(const std::string* bytes, const std::string& fileName,
                              std::optional<Annotation> gff) {
  AnnotatedGenome input;
  input.genome = bytes ? readGenomeBytes(*bytes) : readGenomeFile(fileName);
  const GenomeStatus status = input.genome.status;
  if (status == GenomeStatus::kGenBank || status == GenomeStatus::kEmbl) {
    int openError = 0;
    FlatFile flat;
    const std::unique_ptr<ByteSource> in =
        bytes ? std::make_unique<TextByteSource>(*bytes) : openInputFile(fileName, openError);
    if (!in) {
      input.error = systemErrorText("Cannot open " + fileName, openError);
      return input;
    }
    if (!readFlatFile(*in, fileName, flat, input.error)) return input;
    input.genome = std::move(flat.genome);
    input.annotation = std::move(flat.annotation);
    input.readerWarnings = std::move(flat.warnings);
  } else if (gff && status == GenomeStatus::kOk) {
    input.annotation = std::move(gff);
  }
  if (input.annotation && input.genome.status == GenomeStatus::kOk)
    input.warnings = placeFeatures(*input.annotation, input.genome, fileName);
  return input;
}

}  // namespace

AnnotatedGenome readAnnotatedGenome(const std::string& fileName, std::optional<Annotation> gff) {
  return readAnnotated(nullptr, fileName, std::move(gff));
}

AnnotatedGenome readAnnotatedBytes(const std::string& bytes, const std::string& fileName,
                                   std::optional<Annotation> gff) {
  return readAnnotated(&bytes, fileName, std::move(gff));
}

}  // namespace morvale
