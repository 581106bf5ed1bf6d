#include "base/console.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace morvale {

std::time_t SystemConsole::now() {
  return std::time(nullptr);
}

void SystemConsole::clearScreen(std::ostream& out) {
  out.flush();
  if (checked_ == 0) {
    checked_ = isatty(STDOUT_FILENO) ? 1 : -1;
    // "clear" writes the terminal's clear sequence (from TERM) to its standard
    // output; its complaints, if any, still reach our standard error.
    if (checked_ == 1) {
      if (std::FILE* pipe = popen("clear", "r")) {
        char buf[256];
        std::size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, pipe)) > 0) clearBytes_.append(buf, got);
        pclose(pipe);
      }
    }
  }
  if (checked_ == 1) {
    out << clearBytes_;
    out.flush();
  }
}

bool SystemConsole::errorsShareTheScreen() {
  struct stat out;
  struct stat err;
  return isatty(STDOUT_FILENO) && isatty(STDERR_FILENO) && fstat(STDOUT_FILENO, &out) == 0 &&
         fstat(STDERR_FILENO, &err) == 0 && out.st_dev == err.st_dev && out.st_ino == err.st_ino;
}

std::string localTimeText(std::time_t t) {
  std::tm parts{};
  localtime_r(&t, &parts);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &parts);
  return buf;
}

}  // namespace morvale
