// Whether a first-phase scan found anything at all. Every window of the first
// window size gets a signal, -log10 p, negative when t < 0; the signals are split in
// two by exact two-means. On a genome without foreign DNA the t-test's p-values are
// small everywhere: the split calls a large share of the windows (20-29 % on random
// genomes of 0.5-5 Mbp) and its upper group stays weak (mean signal 2-3.2). On a
// genome with islands it calls few (2.6-9 % on real chromosomes), or, where foreign
// DNA is a large share, an upper group that stands out (mean 6.3 or more).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "stats/two_means.h"

namespace morvale {

// No islands when the upper group holds more than this fraction of the windows and
// its mean signal is below kLeastUpperSignal.
constexpr double kMostCalledSignals = 0.15;
constexpr double kLeastUpperSignal = 5.0;

// -log10 p, negated when t < 0; p = 0 counts as the smallest positive double.
double windowSignal(double t, double p);

struct SignalSplit {
  bool islandsCalled = true;
  std::string noIslandsReason;  // one line when islandsCalled is false
  std::size_t windows = 0;      // signals split
  std::size_t called = 0;       // in the upper group
  TwoMeansSplit split;
};

// The rule above. Fewer than two signals, or all equal, call nothing and leave the
// islands to the cut-off.
SignalSplit splitFirstPhaseSignals(const std::vector<double>& signals);

}  // namespace morvale
