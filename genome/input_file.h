// The input files of a run as bytes for the readers: a plain file as it is, a
// gzip-compressed one (recognised by its magic bytes) unpacked through zlib, and
// standard input, pipes and other streams read once into memory and unpacked there.
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

// True for "-" (standard input) and for a path that is neither a regular file nor a
// folder (a pipe, a process substitution such as <(zcat g.fa.gz), a device): such an
// input can be read once only, so it is read whole into memory (readStreamInput).
bool isStreamInput(const std::string& path);

// Reads the stream input `path` ("-" for standard input) whole into `bytes`,
// unpacking gzip data (recognised by its magic bytes). False with `error` set to one
// line when it cannot be opened or read or is damaged gzip data.
bool readStreamInput(const std::string& path, std::string& bytes, std::string& error);

// The genome held in `bytes` (plain text, as readStreamInput leaves it), read with
// the rules of readgenome.
Genome readGenomeBytes(const std::string& bytes);

}  // namespace morvale
