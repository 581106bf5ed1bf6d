// The bytes of an input file as the readers take them: one at a time, from a plain
// file or from text held in memory (a gzip reader lives beside the batch program),
// and lines made of them for the line-based formats.
#pragma once

#include <cstdio>
#include <string>

namespace morvale {

// The bytes of an input, front to back, once or again after rewind().
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next byte (0..255), or -1 at the end or after a read error.
  virtual int next() = 0;
  // errno of a read error so far, 0 when none.
  virtual int readError() = 0;
  // Back to the first byte; false (errno in readError) when that fails.
  virtual bool rewind() = 0;
};

// A plain file, opened by name and read in blocks; closed when destroyed.
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(const std::string& fileName);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;
  // errno of a failed open, 0 when the file is open.
  int openError() const { return openError_; }
  int next() override {
    if (at_ == size_ && !fill()) return -1;
    return static_cast<unsigned char>(buffer_[at_++]);
  }
  int readError() override { return error_; }
  bool rewind() override;

 private:
  bool fill();
  std::FILE* f_ = nullptr;
  int openError_ = 0;
  char buffer_[1 << 16];
  std::size_t at_ = 0;
  std::size_t size_ = 0;
  int error_ = 0;
};

// Text held by the caller, which must outlive the source.
class TextByteSource : public ByteSource {
 public:
  explicit TextByteSource(const std::string& text) : text_(text) {}
  int next() override { return at_ < text_.size() ? static_cast<unsigned char>(text_[at_++]) : -1; }
  int readError() override { return 0; }
  bool rewind() override {
    at_ = 0;
    return true;
  }

 private:
  const std::string& text_;
  std::size_t at_ = 0;
};

// The next line of `in` into `line`, without its line feed (a carriage return
// before it stays). False at the end of the input, when no byte is left; the last
// line needs no line feed. A read error ends the input; check in.readError().
bool readLine(ByteSource& in, std::string& line);

}  // namespace morvale
