// What morvale-run shows on standard error while it works: on a terminal one line
// that updates in place (genome i of n, phase, window size, percent, elapsed and
// estimated time left); otherwise one line per window size; nothing when quiet.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "scan/scan_progress.h"

namespace morvale {

class BatchProgress : public ScanProgress {
 public:
  BatchProgress(std::ostream& err, bool terminal, bool quiet)
      : err_(err), terminal_(terminal), quiet_(quiet) {}

  // The next phase of genome `index` (from 1) of `count`.
  void phaseStarted(int index, int count, const std::string& genome, const std::string& phase);
  // Ends the updating line before other text is written.
  void finishLine();

  void scanPlanned(std::int64_t scorings) override;
  void windowSizeStarted(std::int64_t w) override;
  void firstPhaseWindow(std::int64_t w, std::int64_t centre) override;
  void refinementScoring(std::int64_t w, std::int64_t centre) override;
  void firstPhaseScore(std::int64_t w, double t, double p) override;
  bool stopRequested() override;

  // From now on keeps the signal (windowSignal) of every first-phase window of size
  // `w`, in window order; signals() hands them over and stops keeping them.
  void keepSignals(std::int64_t w);
  std::vector<double> signals();

 private:
  void step(std::int64_t w);
  std::ostream& err_;
  bool terminal_;
  bool quiet_;
  std::string label_;  // "[1/2] NAME: first phase"
  std::int64_t planned_ = 0;
  std::int64_t done_ = 0;
  std::int64_t shownWindow_ = -1;
  bool lineOpen_ = false;
  std::int64_t signalWindow_ = -1;  // the window size whose signals are kept, -1 for none
  std::vector<double> signals_;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point shown_;
};

}  // namespace morvale
