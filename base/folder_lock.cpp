#include "base/folder_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "base/console.h"
#include "base/stop_signal.h"
#include "base/system_error.h"
#include "base/tokens.h"

namespace morvale {

namespace {

struct Holder {
  long long pid = 0;
  std::string started;
};

// What the lock file at `path` says, and its text as read.
Holder readHolder(const std::string& path, std::string& text) {
  std::ifstream in(path);
  std::ostringstream all;
  all << in.rdbuf();
  text = all.str();
  Holder h;
  std::istringstream lines(text);
  for (std::string key, value; lines >> key && std::getline(lines >> std::ws, value);) {
    if (key == "pid") parseInteger(value, h.pid);
    if (key == "started") h.started = value;
  }
  return h;
}

bool alive(long long pid) {
  return pid > 0 && pid <= 0x7fffffff && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

std::string holderText(const Holder& h) {
  return "process " + std::to_string(h.pid) + (h.started.empty() ? "" : ", started " + h.started);
}

// Writes `text` to a new file at `path`; false with errno set on failure.
bool writeNew(const std::string& path, const std::string& text) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return false;
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  const int reason = errno;
  close(fd);
  if (!written) {
    unlink(path.c_str());
    errno = reason;
  }
  return written;
}

// Creates the lock file exclusively, already holding our pid and start time: the
// text goes to a private file first, which is then linked to the lock's name, so
// no other run ever reads a lock file that is still empty. Where the file system
// has no links, the lock file is created exclusively and written in place.
bool create(const std::string& path, std::time_t now) {
  const std::string text =
      "pid\t" + std::to_string(getpid()) + "\nstarted\t" + localTimeText(now) + "\n";
  const std::string own = path + "." + std::to_string(getpid());
  unlink(own.c_str());
  if (!writeNew(own, text)) return false;
  const int linked = link(own.c_str(), path.c_str());
  const int reason = errno;
  unlink(own.c_str());
  if (linked == 0) return true;
  if (reason == EEXIST) {
    errno = EEXIST;
    return false;
  }
  return writeNew(path, text);
}

}  // namespace

std::string lockFilePath(const std::string& folder) {
  return folder.empty() || folder == "." ? "morvale.lock" : folder + "/morvale.lock";
}

std::unique_ptr<FolderLock> FolderLock::take(const std::string& folder, std::time_t now,
                                             std::string& notice, std::string& error) {
  const std::string path = lockFilePath(folder);
  const std::string where = folder.empty() ? "." : folder;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (create(path, now)) {
      setFileRemovedOnSignal(path.c_str());
      return std::unique_ptr<FolderLock>(new FolderLock(path));
    }
    if (errno != EEXIST) {
      error = systemErrorText("Cannot create the lock file " + path, errno);
      return nullptr;
    }
    std::string text;
    const Holder holder = readHolder(path, text);
    if (alive(holder.pid) || attempt == 1) {
      error = "The folder " + where + " is in use by another Morvale run (" + holderText(holder) +
              "); wait for it to end or work in another folder";
      return nullptr;
    }
    // Remove the stale lock only if it still says what we judged; a run that took
    // it over meanwhile has written its own.
    std::string again;
    readHolder(path, again);
    if (again != text) continue;
    unlink(path.c_str());
    notice = "Taking over the lock of a Morvale run that is gone (" + holderText(holder) +
             ") in the folder " + where;
  }
  return nullptr;
}

FolderLock::~FolderLock() {
  setFileRemovedOnSignal(nullptr);
  unlink(path_.c_str());
}

}  // namespace morvale
