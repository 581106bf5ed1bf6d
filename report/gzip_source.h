// Genome files compressed with gzip, read through zlib: the bytes of the
// decompressed file for the genome reader. Plain files pass through unchanged.
#pragma once

#include <string>

#include "kmer/genome.h"

namespace morvale {

// Reads `fileName`, plain or gzip-compressed (recognised by its magic bytes), with
// the rules of readgenome.
Genome readGenomeFile(const std::string& fileName, std::int64_t stopAtOrBelow = -1);

// True when the file starts with the gzip magic bytes.
bool isGzipFile(const std::string& fileName);

// The whole text of `fileName`, plain or gzip-compressed. False with `error` set to
// one line naming the file and the reason when it cannot be read.
bool readTextFile(const std::string& fileName, std::string& text, std::string& error);

}  // namespace morvale
