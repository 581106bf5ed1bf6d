#include "app/platform.h"

#include <cstdio>

namespace morvale {

namespace {
SystemPlatform& systemPlatform() {
  static SystemPlatform real;
  return real;
}
Platform* current = nullptr;
}  // namespace

Platform& platform() {
  return current ? *current : systemPlatform();
}

void setPlatform(Platform* p) {
  current = p;
}

std::time_t SystemPlatform::now() {
  return std::time(nullptr);
}

void SystemPlatform::clearScreen(std::ostream& out) {
  out.flush();
  if (!captured_) {
    captured_ = true;
    // "clear" writes the terminal's clear sequence (from TERM) to its standard
    // output; its complaints, if any, still reach our standard error.
    if (std::FILE* pipe = popen("clear", "r")) {
      char buf[256];
      std::size_t got;
      while ((got = std::fread(buf, 1, sizeof buf, pipe)) > 0) clearBytes_.append(buf, got);
      pclose(pipe);
    }
  }
  out << clearBytes_;
  out.flush();
}

}  // namespace morvale
