// Genome files compressed with gzip, read through zlib: the bytes of the
// decompressed file for the genome reader. Plain files pass through unchanged.
#pragma once

#include <memory>
#include <string>

#include "kmer/genome.h"

namespace morvale {

// Reads `fileName`, plain or gzip-compressed (recognised by its magic bytes), with
// the rules of readgenome.
Genome readGenomeFile(const std::string& fileName, std::int64_t stopAtOrBelow = -1);

// True when the file starts with the gzip magic bytes.
bool isGzipFile(const std::string& fileName);

// The bytes of `fileName`, plain or gzip-compressed, for a reader that takes them
// front to back (a damaged gzip file ends in a read error, EIO). Null with
// `errorNumber` set when the file cannot be opened.
std::unique_ptr<ByteSource> openInputFile(const std::string& fileName, int& errorNumber);

}  // namespace morvale
