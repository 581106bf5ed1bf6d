#include "scan/first_phase_split.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/number_text.h"

namespace morvale {

double windowSignal(double t, double p) {
  const double signal = -std::log10(std::max(p, std::numeric_limits<double>::denorm_min()));
  return t < 0.0 ? -signal : signal;
}

SignalSplit splitFirstPhaseSignals(const std::vector<double>& signals) {
  SignalSplit s;
  s.windows = signals.size();
  s.split = twoMeans(signals);
  if (!s.split.found) return s;
  s.called = s.split.upperSize;
  const double fraction = static_cast<double>(s.called) / static_cast<double>(s.windows);
  if (fraction > kMostCalledSignals && s.split.upperMean < kLeastUpperSignal) {
    s.islandsCalled = false;
    s.noIslandsReason =
        "no islands: the windows of the first size do not split into a few strong ones (" +
        numberText("%.0f", 100 * fraction) + " % of " + std::to_string(s.windows) +
        " rise above the rest, with a mean -log10 p of only " +
        numberText("%.1f", s.split.upperMean) + ")";
  }
  return s;
}

}  // namespace morvale
