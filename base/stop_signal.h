// Ctrl-C and termination signals (SIGINT, SIGTERM, SIGHUP). Whatever the mode, the
// folder lock registered here is removed before the process ends by a signal.
#pragma once

namespace morvale {

enum class StopMode {
  kImmediate,  // the first signal removes the lock and ends the process
  kGraceful,   // the first signal only asks the run to stop; a second acts at once
};

// Installs the handlers for the life of the process.
void installStopHandlers(StopMode mode);

// True once a signal asked a graceful run to stop.
bool stopRequested();
// The signal that asked a graceful run to stop (SIGINT, SIGTERM or SIGHUP), 0 before
// any did; a run that stops for it ends with status 128 + that number.
int stopSignal();

// The file the handlers remove before the process ends by a signal; "" for none.
// Paths longer than 4095 bytes are not registered.
void setFileRemovedOnSignal(const char* path);

}  // namespace morvale
