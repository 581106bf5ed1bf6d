// The input files of a run as bytes for the readers: a plain file as it is, a
// gzip-compressed one (recognised by its magic bytes) unpacked through zlib, and
// standard input read once into memory and unpacked there.
#pragma once

#include <memory>
#include <string>

#include "genome/genome.h"

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

// Reads standard input whole, once, into `bytes`, unpacking gzip data (recognised by
// its magic bytes). False with `error` set to one line when it cannot be read or is
// damaged gzip data.
bool readStandardInput(std::string& bytes, std::string& error);

// The genome held in `bytes` (plain text, as readStandardInput leaves it), read with
// the rules of readgenome.
Genome readGenomeBytes(const std::string& bytes);

}  // namespace morvale
