// Fuzzes the GFF3 reader: any text is read or refused with one line naming the
// file; every feature read has ordered segments of at least one letter from 0;
// percent-escaping what was read and decoding it again gives it back.
#include <cstdint>

#include "genome/gff3_text.h"
#include "genome/gff_annotation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  morvale::Annotation annotation;
  std::string error;
  if (!morvale::readGff3(text, "a.gff3", annotation, error)) {
    if (error.rfind("a.gff3", 0) != 0 || error.find('\n') != std::string::npos) __builtin_trap();
    return 0;
  }
  using morvale::Gff3Column;
  for (const morvale::Feature& f : annotation.features) {
    for (std::size_t s = 0; s < f.segments.size(); ++s) {
      if (f.segments[s].start < 0 || f.segments[s].end <= f.segments[s].start) __builtin_trap();
      if (s > 0 && f.segments[s - 1].start > f.segments[s].start) __builtin_trap();
    }
    for (const std::string* t : {&f.record, &f.locusTag, &f.product}) {
      for (Gff3Column column : {Gff3Column::kSeqid, Gff3Column::kAttributeValue}) {
        const std::string escaped = morvale::gff3Escaped(*t, column);
        if (escaped.find_first_of(";=\t\n\r") != std::string::npos) __builtin_trap();
        if (morvale::gff3Decoded(escaped) != *t) __builtin_trap();
      }
    }
  }
  return 0;
}
