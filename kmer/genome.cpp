#include "kmer/genome.h"

#include <cerrno>
#include <cstdio>

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

// A plain file, read in blocks (the bytes are handed on one at a time).
class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* f) : f_(f) {}
  int next() override {
    if (at_ == size_) {
      size_ = std::fread(buffer_, 1, sizeof buffer_, f_);
      at_ = 0;
      if (size_ == 0) {
        if (std::ferror(f_) && !error_) error_ = errno ? errno : EIO;
        return -1;
      }
    }
    return static_cast<unsigned char>(buffer_[at_++]);
  }
  int readError() override { return error_; }
  bool rewind() override {
    std::rewind(f_);
    at_ = size_ = 0;
    return error_ == 0;
  }

 private:
  std::FILE* f_;
  char buffer_[1 << 16];
  std::size_t at_ = 0;
  std::size_t size_ = 0;
  int error_ = 0;
};

// The records as the first pass meets them.
class RecordMapper {
 public:
  explicit RecordMapper(std::vector<GenomeRecord>& records) : records_(records) {}
  void header() {
    close();
    records_.push_back(GenomeRecord{"", joined_, joined_, 0, {}});
    open_ = true;
    naming_ = true;
  }
  // A byte of the header line after '>': the first word is the record's name.
  void headerByte(int c) {
    if (!naming_) return;
    GenomeRecord& r = records_.back();
    if (isBlank(c)) {
      naming_ = r.name.empty();
    } else {
      r.name += static_cast<char>(c);
    }
  }
  void letter() {
    ensureOpen();
    GenomeRecord& r = records_.back();
    if (!r.runs.empty() && r.runs.back().joinedStart + r.runs.back().length == joined_ &&
        r.runs.back().recordStart + r.runs.back().length == r.length) {
      ++r.runs.back().length;
    } else {
      r.runs.push_back(RecordRun{joined_, r.length, 1});
    }
    ++r.length;
    ++joined_;
  }
  void skippedLetter() {
    ensureOpen();
    ++records_.back().length;
  }
  void close() {
    if (open_) records_.back().joinedEnd = joined_;
    naming_ = false;
  }
  std::int64_t letters() const { return joined_; }

 private:
  void ensureOpen() {
    if (!open_) {
      records_.push_back(GenomeRecord{"", joined_, joined_, 0, {}});
      open_ = true;
    }
  }
  std::vector<GenomeRecord>& records_;
  std::int64_t joined_ = 0;
  bool open_ = false;
  bool naming_ = false;
};

// Applies the byte rules to the whole source, handing each byte class to `on`.
// Returns whether a NUL byte was seen (binary data, not a sequence).
template <typename OnHeader, typename OnHeaderByte, typename OnLetter, typename OnSkipped>
bool scanBytes(ByteSource& in, OnHeader onHeader, OnHeaderByte onHeaderByte, OnLetter onLetter,
               OnSkipped onSkipped) {
  bool inHeader = false;
  bool sawNul = false;
  for (int c; (c = in.next()) != -1;) {
    if (c == 0) {
      sawNul = true;
    } else if (inHeader) {
      if (c == '\n') {
        inHeader = false;
      } else {
        onHeaderByte(c);
      }
    } else if (c == '>') {
      inHeader = true;
      onHeader();
    } else if (char letter = acceptedLetter(c)) {
      onLetter(letter);
    } else if (keepsAPosition(c)) {
      onSkipped();
    }
  }
  return sawNul;
}

// What the first bytes say the file is.
GenomeStatus kindFromStart(ByteSource& in) {
  char start[5] = {};
  int got = 0;
  for (int c; got < 5 && (c = in.next()) != -1;) start[got++] = static_cast<char>(c);
  const std::string head(start, static_cast<std::size_t>(got));
  if (got >= 2 && static_cast<unsigned char>(start[0]) == 0x1f &&
      static_cast<unsigned char>(start[1]) == 0x8b)
    return GenomeStatus::kCompressed;
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
  RecordMapper records(g.records);
  const bool binary = scanBytes(
      in, [&] { records.header(); }, [&](int c) { records.headerByte(c); },
      [&](char) { records.letter(); }, [&] { records.skippedLetter(); });
  records.close();
  const std::int64_t count = records.letters();
  g.length = count;
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
    // The file may change between the passes; never store past L letters.
    const auto none = [] {};
    scanBytes(
        in, none, [](int) {},
        [&](char letter) {
          if (at < count) g.letters[static_cast<std::size_t>(at)] = letter;
          ++at;
        },
        none);
    if (in.readError() || at != count) {
      g.status = GenomeStatus::kReadError;
      g.errorNumber = in.readError();
    }
  }
  return g;
}

Genome readgenome(const std::string& fileName, std::int64_t stopAtOrBelow) {
  std::FILE* f = std::fopen(fileName.c_str(), "r");
  if (!f) {
    Genome g;
    g.status = GenomeStatus::kCannotOpen;
    g.errorNumber = errno;
    return g;
  }
  FileSource source(f);
  Genome g = readGenomeFrom(source, stopAtOrBelow);
  std::fclose(f);
  return g;
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
