// What a scan tells its front end while it runs, and how the console dialogue
// shows it: a progress line per window (the screen cleared before each when
// standard output is a terminal) and one line per window size.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "base/console.h"
#include "kmer/sample_pool.h"

namespace morvale {

// Every event has a default that ignores it.
class ScanProgress {
 public:
  virtual ~ScanProgress() = default;
  // The window-score file of an earlier run was removed.
  virtual void staleFileRemoved(const std::string& /*name*/) {}
  // The scan will score `scorings` windows in all (an upper bound for the first
  // phase, whose last sizes may find no room).
  virtual void scanPlanned(std::int64_t /*scorings*/) {}
  // First phase: the sample pool of window size `w` is drawn next.
  virtual void windowSizeStarted(std::int64_t /*w*/) {}
  // The sample pool was drawn and profiled (once per first-phase window size, once
  // per refinement).
  virtual void poolDrawn(const SamplePool& /*pool*/) {}
  // First phase: the window of size `w` centred at `centre` is scored.
  virtual void firstPhaseWindow(std::int64_t /*w*/, std::int64_t /*centre*/) {}
  // First phase: the t-test of that window (after firstPhaseWindow; not for a window
  // that was skipped), every window whether or not its row is written.
  virtual void firstPhaseScore(std::int64_t /*w*/, double /*t*/, double /*p*/) {}
  // Refinement: one scoring of the window of size `w` centred at `centre` (truncated).
  virtual void refinementScoring(std::int64_t /*w*/, std::int64_t /*centre*/) {}
  // The window centred at `centre` was not scored: every drawable sample starts
  // within the window size of its start.
  virtual void windowSkipped(std::int64_t /*centre*/) {}
  // First phase: no room for a sample of `w` letters in `length`; larger window
  // sizes are not scanned.
  virtual void noRoomForSamples(std::int64_t /*w*/, std::int64_t /*length*/) {}
  // True when the scan should stop at the next window (the front end was asked to).
  virtual bool stopRequested() { return false; }
};

// The dialogue's progress: the lines of the console program on `out`.
class ConsoleProgress : public ScanProgress {
 public:
  ConsoleProgress(std::ostream& out, Console& console) : out_(out), console_(console) {}
  void staleFileRemoved(const std::string& name) override;
  void windowSizeStarted(std::int64_t w) override;
  void firstPhaseWindow(std::int64_t w, std::int64_t centre) override;
  void refinementScoring(std::int64_t w, std::int64_t centre) override;
  void windowSkipped(std::int64_t centre) override;
  void noRoomForSamples(std::int64_t w, std::int64_t length) override;

 private:
  std::ostream& out_;
  Console& console_;
};

}  // namespace morvale
