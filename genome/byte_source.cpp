#include "genome/byte_source.h"

#include <cerrno>

namespace morvale {

FileByteSource::FileByteSource(const std::string& fileName) {
  f_ = std::fopen(fileName.c_str(), "r");
  if (!f_) openError_ = errno ? errno : ENOENT;
}

FileByteSource::~FileByteSource() {
  if (f_) std::fclose(f_);
}

bool FileByteSource::fill() {
  if (!f_) return false;
  size_ = std::fread(buffer_, 1, sizeof buffer_, f_);
  at_ = 0;
  if (size_ == 0 && std::ferror(f_) && !error_) error_ = errno ? errno : EIO;
  return size_ != 0;
}

bool FileByteSource::rewind() {
  if (!f_) return false;
  std::rewind(f_);
  at_ = size_ = 0;
  return error_ == 0;
}

bool readLine(ByteSource& in, std::string& line) {
  line.clear();
  int c = in.next();
  if (c == -1) return false;
  for (; c != -1 && c != '\n'; c = in.next()) line += static_cast<char>(c);
  return true;
}

}  // namespace morvale
