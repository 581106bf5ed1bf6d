// One run per folder: a run holds the lock file "morvale.lock" in the folder it
// writes its results to, from before it touches any file until it ends (also by
// Ctrl-C or a termination signal). The file is created exclusively and holds the
// process id and the start time.
#pragma once

#include <ctime>
#include <memory>
#include <string>

namespace morvale {

class FolderLock {
 public:
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Takes the lock of `folder` ("" or "." for the working folder). A lock whose
  // process is gone is taken over, and `notice` says so in one line. Returns null
  // with `error` set to one line when another live process holds the lock or the
  // lock file cannot be made.
  static std::unique_ptr<FolderLock> take(const std::string& folder, std::time_t now,
                                          std::string& notice, std::string& error);

  const std::string& path() const { return path_; }

 private:
  explicit FolderLock(std::string path) : path_(std::move(path)) {}
  std::string path_;
};

// The lock file's name inside `folder`.
std::string lockFilePath(const std::string& folder);

}  // namespace morvale
