#include "kmer/genome.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace morvale {

namespace {

// Lower-case letter for an accepted byte, 0 for a skipped one.
char acceptedLetter(int c) {
  switch (c) {
    case 'A':
    case 'a':
      return 'a';
    case 'C':
    case 'c':
      return 'c';
    case 'G':
    case 'g':
      return 'g';
    case 'T':
    case 't':
      return 't';
    default:
      return 0;
  }
}

// Applies the byte rules to the whole stream, handing each accepted letter to
// `take`. A '>' swallows every byte up to and including the next line feed.
// Returns whether a NUL byte was seen (a binary file, not a sequence).
template <typename Take>
bool scanLetters(std::FILE* f, Take take) {
  bool inHeader = false;
  bool sawNul = false;
  int c;
  while ((c = std::fgetc(f)) != EOF) {
    if (c == 0) {
      sawNul = true;
    } else if (inHeader) {
      if (c == '\n') inHeader = false;
    } else if (c == '>') {
      inHeader = true;
    } else if (char letter = acceptedLetter(c)) {
      take(letter);
    }
  }
  return sawNul;
}

bool startsWithGzipMagic(std::FILE* f) {
  int first = std::fgetc(f);
  int second = std::fgetc(f);
  std::rewind(f);
  return first == 0x1f && second == 0x8b;
}

}  // namespace

Genome readgenome(const std::string& fileName, std::int64_t stopAtOrBelow) {
  Genome g;
  std::FILE* f = std::fopen(fileName.c_str(), "r");
  if (!f) {
    g.status = GenomeStatus::kCannotOpen;
    g.errorNumber = errno;
    return g;
  }
  if (startsWithGzipMagic(f)) {
    g.status = GenomeStatus::kCompressed;
  } else {
    std::int64_t count = 0;
    const bool binary = scanLetters(f, [&count](char) { ++count; });
    g.length = count;
    if (binary) {
      g.status = GenomeStatus::kBinary;
    } else if (std::ferror(f)) {
      g.status = GenomeStatus::kReadError;
      g.errorNumber = errno;
    } else if (count <= stopAtOrBelow) {
      g.status = GenomeStatus::kTooShort;
    } else {
      std::rewind(f);
      g.letters.resize(static_cast<std::size_t>(count));
      std::int64_t at = 0;
      // The file may change between the passes; never store past L letters.
      scanLetters(f, [&](char letter) {
        if (at < count) g.letters[static_cast<std::size_t>(at)] = letter;
        ++at;
      });
      if (std::ferror(f) || at != count) {
        g.status = GenomeStatus::kReadError;
        g.errorNumber = std::ferror(f) ? errno : 0;
      }
    }
  }
  std::fclose(f);
  return g;
}

std::string genomeErrorText(const Genome& genome, const std::string& fileName) {
  const std::string reason = genome.errorNumber ? std::strerror(genome.errorNumber) : "";
  switch (genome.status) {
    case GenomeStatus::kCannotOpen:
      return "Cannot open genome file " + fileName + ": " + reason;
    case GenomeStatus::kCompressed:
      return "Genome file " + fileName +
             " is gzip-compressed; decompress it first (gunzip) and give the plain file";
    case GenomeStatus::kBinary:
      return "Genome file " + fileName + " holds binary data, not a plain-text sequence";
    case GenomeStatus::kReadError:
      return "Cannot read genome file " + fileName + ": " +
             (reason.empty() ? std::string("it changed while being read") : reason);
    default:
      return "";
  }
}

}  // namespace morvale
