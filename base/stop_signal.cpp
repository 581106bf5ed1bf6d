#include "base/stop_signal.h"

#include <unistd.h>

#include <csignal>
#include <cstring>
#include <initializer_list>

namespace morvale {

namespace {

volatile std::sig_atomic_t stopAsked = 0;  // the signal's number, 0 for none
volatile std::sig_atomic_t graceful = 0;
char lockPath[4096] = {};

extern "C" void onStopSignal(int sig) {
  if (graceful && !stopAsked) {
    stopAsked = sig;
    return;
  }
  if (lockPath[0]) unlink(lockPath);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

}  // namespace

void installStopHandlers(StopMode mode) {
  graceful = mode == StopMode::kGraceful;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
}

bool stopRequested() {
  return stopAsked != 0;
}

int stopSignal() {
  return stopAsked;
}

void setFileRemovedOnSignal(const char* path) {
  // Signals wait while the path changes, so a handler never sees half of it.
  sigset_t all;
  sigset_t before;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &before);
  lockPath[0] = '\0';
  if (path && std::strlen(path) < sizeof lockPath) std::strcpy(lockPath, path);
  sigprocmask(SIG_SETMASK, &before, nullptr);
}

}  // namespace morvale
