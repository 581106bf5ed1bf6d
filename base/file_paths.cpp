#include "base/file_paths.h"

#include <filesystem>

namespace morvale {

namespace fs = std::filesystem;

std::string baseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
  return fs::absolute(a, ec).lexically_normal() == fs::absolute(b, ec).lexically_normal();
}

bool insideFolder(const std::string& path, const std::string& folder) {
  std::error_code ec;
  fs::path at = fs::absolute(path, ec).lexically_normal();
  while (at.has_relative_path()) {
    at = at.parent_path();
    if (sameFile(at.string(), folder)) return true;
  }
  return false;
}

}  // namespace morvale
