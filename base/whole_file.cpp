#include "base/whole_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "base/system_error.h"

namespace morvale {

namespace {

// Writes `text` to `path` (created or truncated); 0 or the errno of the failure.
// `opened` tells whether the file was opened (so it exists now).
int writeFile(const std::string& path, const std::string& text, bool& opened) {
  errno = 0;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  opened = out != nullptr;
  if (!out) return errno ? errno : EIO;
  bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  written = std::fflush(out) == 0 && written;
  int reason = written ? 0 : (errno ? errno : EIO);
  if (std::fclose(out) != 0 && !reason) reason = errno ? errno : EIO;
  return reason;
}

}  // namespace

std::string temporaryPathOf(const std::string& path) {
  return path + ".tmp";
}

bool readWholeFile(const std::string& path, std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  text.clear();
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, got);
  const bool ok = !std::ferror(f);
  const int reason = errno;
  std::fclose(f);
  errno = reason;
  return ok;
}

std::string writeWholeFile(const std::string& path, const std::string& text) {
  struct stat status;
  if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    bool opened = false;
    const int reason = writeFile(path, text, opened);
    return reason ? systemErrorText("cannot write " + path, reason) : "";
  }
  const std::string temporary = temporaryPathOf(path);
  bool created = false;
  int reason = writeFile(temporary, text, created);
  if (!reason && std::rename(temporary.c_str(), path.c_str()) != 0) reason = errno ? errno : EIO;
  if (!reason) return "";
  if (created) std::remove(temporary.c_str());
  return systemErrorText("cannot write " + path, reason);
}

std::string removeFileIfPresent(const std::string& path) {
  if (std::remove(path.c_str()) == 0 || errno == ENOENT) return "";
  return systemErrorText("cannot remove " + path, errno);
}

}  // namespace morvale
