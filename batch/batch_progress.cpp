#include "batch/batch_progress.h"

#include <algorithm>

#include "base/number_text.h"
#include "base/stop_signal.h"
#include "scan/first_phase_split.h"

namespace morvale {

namespace {
std::string clockText(double seconds) {
  const auto s = static_cast<long long>(seconds);
  return std::to_string(s / 60) + ":" + (s % 60 < 10 ? "0" : "") + std::to_string(s % 60);
}
}  // namespace

void BatchProgress::phaseStarted(int index, int count, const std::string& genome,
                                 const std::string& phase) {
  finishLine();
  label_ = "[" + std::to_string(index) + "/" + std::to_string(count) + "] " + genome + ": " + phase;
  planned_ = done_ = 0;
  shownWindow_ = -1;
  started_ = shown_ = std::chrono::steady_clock::now();
  if (!quiet_ && !terminal_) err_ << "morvale-run: " << label_ << std::endl;
}

void BatchProgress::finishLine() {
  if (lineOpen_) err_ << std::endl;
  lineOpen_ = false;
}

void BatchProgress::scanPlanned(std::int64_t scorings) {
  planned_ = scorings;
}

void BatchProgress::windowSizeStarted(std::int64_t w) {
  if (!quiet_ && !terminal_)
    err_ << "morvale-run: " << label_ << ", window size " << w << std::endl;
}

void BatchProgress::firstPhaseWindow(std::int64_t w, std::int64_t) {
  step(w);
}

void BatchProgress::firstPhaseScore(std::int64_t w, double t, double p) {
  if (w == signalWindow_) signals_.push_back(windowSignal(t, p));
}

void BatchProgress::keepSignals(std::int64_t w) {
  signalWindow_ = w;
  signals_.clear();
}

std::vector<double> BatchProgress::signals() {
  signalWindow_ = -1;
  return std::move(signals_);
}

void BatchProgress::refinementScoring(std::int64_t w, std::int64_t) {
  step(w);
}

void BatchProgress::step(std::int64_t w) {
  ++done_;
  if (quiet_ || !terminal_) return;
  const auto now = std::chrono::steady_clock::now();
  if (w == shownWindow_ && now - shown_ < std::chrono::milliseconds(200) && done_ != planned_)
    return;
  shownWindow_ = w;
  shown_ = now;
  const double elapsed = std::chrono::duration<double>(now - started_).count();
  const double fraction = planned_ > 0 ? std::min(1.0, static_cast<double>(done_) / planned_) : 0;
  std::string line = label_ + ", window " + std::to_string(w) + ", " +
                     numberText("%.0f", 100 * fraction) + "%, " + clockText(elapsed) + " elapsed";
  if (fraction > 0.02) line += ", " + clockText(elapsed / fraction - elapsed) + " left";
  err_ << '\r' << line << "\033[K" << std::flush;
  lineOpen_ = true;
}

bool BatchProgress::stopRequested() {
  return morvale::stopRequested();
}

}  // namespace morvale
