#include "genome/input_file.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "base/system_error.h"

namespace morvale {

namespace {

class GzipSource : public ByteSource {
 public:
  explicit GzipSource(gzFile f) : f_(f) {}
  ~GzipSource() override { gzclose(f_); }
  GzipSource(const GzipSource&) = delete;
  GzipSource& operator=(const GzipSource&) = delete;
  int next() override {
    if (at_ == size_) {
      if (error_ || ended_) return -1;
      const int got = gzread(f_, buffer_, sizeof buffer_);
      if (got <= 0) {
        int status = Z_OK;
        gzerror(f_, &status);
        damaged_ = got < 0 || status != Z_OK;
        if (damaged_) error_ = EIO;
        ended_ = true;
        return -1;
      }
      size_ = static_cast<std::size_t>(got);
      at_ = 0;
    }
    return static_cast<unsigned char>(buffer_[at_++]);
  }
  int readError() override { return error_; }
  bool damaged() const { return damaged_; }
  bool rewind() override {
    at_ = size_ = 0;
    ended_ = false;
    if (gzrewind(f_) != 0) error_ = EIO;
    return error_ == 0;
  }

 private:
  gzFile f_;
  char buffer_[1 << 16];
  std::size_t at_ = 0;
  std::size_t size_ = 0;
  bool ended_ = false;
  bool damaged_ = false;
  int error_ = 0;
};

// Unpacks gzip data (one member or several in a row); false when it is damaged or
// cut short.
bool gunzip(const std::string& packed, std::string& text) {
  z_stream z{};
  if (inflateInit2(&z, 15 + 16) != Z_OK) return false;
  std::size_t fed = 0;  // bytes of `packed` handed to zlib so far
  char buffer[1 << 16];
  int status = Z_OK;
  for (;;) {
    if (z.avail_in == 0 && fed < packed.size()) {
      const std::size_t chunk = std::min<std::size_t>(packed.size() - fed, 1u << 30);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + fed));
      z.avail_in = static_cast<uInt>(chunk);
      fed += chunk;
    }
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    status = inflate(&z, Z_NO_FLUSH);
    text.append(buffer, sizeof buffer - z.avail_out);
    const bool more = z.avail_in > 0 || fed < packed.size();
    if (status == Z_STREAM_END && more && inflateReset(&z) == Z_OK) continue;
    if (status != Z_OK) break;
    if (!more && z.avail_out != 0) break;  // input used up inside a member: cut short
  }
  inflateEnd(&z);
  return status == Z_STREAM_END && z.avail_in == 0 && fed == packed.size();
}

}  // namespace

bool isStreamInput(const std::string& path) {
  if (path == "-") return true;
  struct stat status;
  return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

bool readStreamInput(const std::string& path, std::string& bytes, std::string& error) {
  const bool standardInput = path == "-";
  const std::string name = standardInput ? "standard input" : path;
  bytes.clear();
  errno = 0;
  std::FILE* in = standardInput ? stdin : std::fopen(path.c_str(), "rb");
  if (!in) {
    error = systemErrorText("Cannot open " + name, errno);
    return false;
  }
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(in);
  const int reason = errno;
  if (!standardInput) std::fclose(in);
  if (failed) {
    error = systemErrorText("Cannot read " + name, reason);
    return false;
  }
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0x1f ||
      static_cast<unsigned char>(bytes[1]) != 0x8b)
    return true;
  std::string text;
  if (!gunzip(bytes, text)) {
    error = (standardInput ? std::string("Standard input") : path) +
            " is not whole gzip data: it is damaged or cut short";
    return false;
  }
  bytes.swap(text);
  return true;
}

Genome readGenomeBytes(const std::string& bytes) {
  TextByteSource source(bytes);
  return readGenomeFrom(source);
}

bool isGzipFile(const std::string& fileName) {
  std::FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return false;
  const int first = std::fgetc(f);
  const int second = std::fgetc(f);
  std::fclose(f);
  return first == 0x1f && second == 0x8b;
}

std::unique_ptr<ByteSource> openInputFile(const std::string& fileName, int& errorNumber) {
  errorNumber = 0;
  if (!isGzipFile(fileName)) {
    auto plain = std::make_unique<FileByteSource>(fileName);
    errorNumber = plain->openError();
    if (errorNumber) return nullptr;
    return plain;
  }
  gzFile f = gzopen(fileName.c_str(), "rb");
  if (!f) {
    errorNumber = errno ? errno : ENOMEM;
    return nullptr;
  }
  gzbuffer(f, 1 << 17);
  return std::make_unique<GzipSource>(f);
}

Genome readGenomeFile(const std::string& fileName, std::int64_t stopAtOrBelow) {
  if (!isGzipFile(fileName)) return readgenome(fileName, stopAtOrBelow);
  gzFile f = gzopen(fileName.c_str(), "rb");
  if (!f) {
    Genome g;
    g.status = GenomeStatus::kCannotOpen;
    g.errorNumber = errno ? errno : ENOMEM;
    return g;
  }
  gzbuffer(f, 1 << 17);
  GzipSource source(f);
  Genome g = readGenomeFrom(source, stopAtOrBelow);
  if (source.damaged()) {
    g = Genome();
    g.status = GenomeStatus::kDamaged;
  }
  return g;
}

}  // namespace morvale
