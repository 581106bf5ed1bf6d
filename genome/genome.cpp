#include "genome/genome.h"

#include <cerrno>
#include <cstdio>
#include <set>

#include "base/system_error.h"

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

// A skipped byte that still takes a position in its record: another letter (N and
// the other ambiguity codes) or a gap or stop sign.
bool keepsAPosition(int c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '*' || c == '.';
}

bool isBlank(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

GenomeBuilder::GenomeBuilder(Genome& genome, bool storeLetters)
    : g_(genome), store_(storeLetters) {}

void GenomeBuilder::header() {
  if (open_) g_.records.back().joinedEnd = joined_;
  g_.records.push_back(GenomeRecord{"", joined_, joined_, 0, {}});
  open_ = true;
  naming_ = true;
}

void GenomeBuilder::headerByte(int c) {
  if (!naming_) return;
  GenomeRecord& r = g_.records.back();
  if (isBlank(c)) {
    naming_ = r.name.empty();
  } else {
    r.name += static_cast<char>(c);
  }
}

void GenomeBuilder::namedRecord(const std::string& name) {
  header();
  g_.records.back().name = name;
  naming_ = false;
}

void GenomeBuilder::sequenceByte(int c) {
  if (const char letter = acceptedLetter(c)) {
    naming_ = false;
    ensureOpen();
    GenomeRecord& r = g_.records.back();
    if (!r.runs.empty() && r.runs.back().joinedStart + r.runs.back().length == joined_ &&
        r.runs.back().recordStart + r.runs.back().length == r.length) {
      ++r.runs.back().length;
    } else {
      r.runs.push_back(RecordRun{joined_, r.length, 1});
    }
    ++r.length;
    ++joined_;
    if (store_) g_.letters += letter;
  } else if (keepsAPosition(c)) {
    naming_ = false;
    ensureOpen();
    ++g_.records.back().length;
  }
}

void GenomeBuilder::finish() {
  if (open_) g_.records.back().joinedEnd = joined_;
  naming_ = false;
  g_.length = joined_;
}

void GenomeBuilder::ensureOpen() {
  if (!open_) {
    g_.records.push_back(GenomeRecord{"", joined_, joined_, 0, {}});
    open_ = true;
  }
}

namespace {

// Applies the byte rules to the whole source: headers to `onHeader` and
// `onHeaderByte`, every other byte to `onSequence`. Returns whether a NUL byte was
// seen (binary data, not a sequence); notes the first line where a header starts
// after other text on its line.
template <typename OnHeader, typename OnHeaderByte, typename OnSequence>
bool scanBytes(ByteSource& in, OnHeader onHeader, OnHeaderByte onHeaderByte, OnSequence onSequence,
               std::int64_t& headerInsideLine) {
  static const unsigned char kByteOrderMark[] = {0xef, 0xbb, 0xbf};
  bool inHeader = false;
  bool sawNul = false;
  bool lineHasText = false;
  std::int64_t line = 1;
  std::int64_t offset = 0;
  for (int c; (c = in.next()) != -1; ++offset) {
    if (c == 0) {
      sawNul = true;
    } else if (inHeader) {
      if (c == '\n') {
        inHeader = false;
        lineHasText = false;
        ++line;
      } else {
        onHeaderByte(c);
      }
    } else if (c == '>') {
      if (lineHasText && headerInsideLine == 0) headerInsideLine = line;
      inHeader = true;
      onHeader();
    } else {
      if (c == '\n') {
        lineHasText = false;
        ++line;
      } else if (!isBlank(c) && !(offset < 3 && c == kByteOrderMark[offset])) {
        lineHasText = true;
      }
      onSequence(c);
    }
  }
  return sawNul;
}

// What the first bytes say the file is; a flat file may begin with a UTF-8
// byte-order mark and blank lines or spaces.
GenomeStatus kindFromStart(ByteSource& in) {
  int c = in.next();
  if (c == 0x1f) return in.next() == 0x8b ? GenomeStatus::kCompressed : GenomeStatus::kOk;
  if (c == 0xef) {
    if (in.next() != 0xbb || in.next() != 0xbf) return GenomeStatus::kOk;
    c = in.next();
  }
  while (c != -1 && isBlank(c)) c = in.next();
  std::string head;
  for (; c != -1; c = in.next()) {
    head += static_cast<char>(c);
    if (head.size() == 5) break;
  }
  if (head == "LOCUS") return GenomeStatus::kGenBank;
  if (head == "ID   ") return GenomeStatus::kEmbl;
  return GenomeStatus::kOk;
}

}  // namespace

Genome readGenomeFrom(ByteSource& in, std::int64_t stopAtOrBelow) {
  Genome g;
  g.status = kindFromStart(in);
  if (g.status != GenomeStatus::kOk) return g;
  if (!in.rewind()) {
    g.status = GenomeStatus::kReadError;
    g.errorNumber = in.readError();
    return g;
  }
  GenomeBuilder records(g, false);
  const bool binary = scanBytes(
      in, [&] { records.header(); }, [&](int c) { records.headerByte(c); },
      [&](int c) { records.sequenceByte(c); }, g.headerInsideLine);
  records.finish();
  const std::int64_t count = g.length;
  if (binary) {
    g.status = GenomeStatus::kBinary;
  } else if (in.readError()) {
    g.status = GenomeStatus::kReadError;
    g.errorNumber = in.readError();
  } else if (count <= stopAtOrBelow) {
    g.status = GenomeStatus::kTooShort;
  } else if (!in.rewind()) {
    g.status = GenomeStatus::kReadError;
    g.errorNumber = in.readError();
  } else {
    g.letters.resize(static_cast<std::size_t>(count));
    std::int64_t at = 0;
    std::int64_t ignored = 0;
    // The file may change between the passes; never store past L letters.
    scanBytes(
        in, [] {}, [](int) {},
        [&](int c) {
          if (const char letter = acceptedLetter(c)) {
            if (at < count) g.letters[static_cast<std::size_t>(at)] = letter;
            ++at;
          }
        },
        ignored);
    if (in.readError() || at != count) {
      g.status = GenomeStatus::kReadError;
      g.errorNumber = in.readError();
    }
  }
  return g;
}

Genome readgenome(const std::string& fileName, std::int64_t stopAtOrBelow) {
  FileByteSource source(fileName);
  if (source.openError()) {
    Genome g;
    g.status = GenomeStatus::kCannotOpen;
    g.errorNumber = source.openError();
    return g;
  }
  return readGenomeFrom(source, stopAtOrBelow);
}

std::string duplicateRecordProblem(const Genome& genome, const std::string& fileName) {
  std::set<std::string> names;
  for (const GenomeRecord& r : genome.records) {
    if (names.insert(r.name).second) continue;
    return fileName + ": two records are " +
           (r.name.empty() ? std::string("without a name") : "named " + r.name) +
           "; tracks and tables could not tell them apart, so give each record its own name";
  }
  return "";
}

Genome recordGenome(const Genome& genome, std::size_t r) {
  const GenomeRecord& record = genome.records[r];
  Genome g;
  g.letters =
      genome.letters.substr(static_cast<std::size_t>(record.joinedStart),
                            static_cast<std::size_t>(record.joinedEnd - record.joinedStart));
  g.length = static_cast<std::int64_t>(g.letters.size());
  GenomeRecord own = record;
  own.joinedStart = 0;
  own.joinedEnd = g.length;
  for (RecordRun& run : own.runs) run.joinedStart -= record.joinedStart;
  g.records.push_back(std::move(own));
  return g;
}

std::string genomeErrorText(const Genome& genome, const std::string& fileName) {
  const std::string file = "Genome file " + fileName;
  switch (genome.status) {
    case GenomeStatus::kCannotOpen:
      return systemErrorText("Cannot open genome file " + fileName, genome.errorNumber);
    case GenomeStatus::kCompressed:
      return file + " is gzip-compressed; decompress it first (gunzip) and give the plain file";
    case GenomeStatus::kGenBank:
    case GenomeStatus::kEmbl:
      return file + " is " + (genome.status == GenomeStatus::kGenBank ? "a GenBank" : "an EMBL") +
             " flat file, not plain sequence; convert it to FASTA first";
    case GenomeStatus::kBinary:
      return file + " holds binary data, not a plain-text sequence";
    case GenomeStatus::kDamaged:
      return file + " is not a whole gzip file: it is damaged or cut short";
    case GenomeStatus::kReadError:
      return genome.errorNumber
                 ? systemErrorText("Cannot read genome file " + fileName, genome.errorNumber)
                 : "Cannot read genome file " + fileName + ": it changed while being read";
    default:
      return "";
  }
}

}  // namespace morvale
