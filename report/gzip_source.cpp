#include "report/gzip_source.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>

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

}  // namespace

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
