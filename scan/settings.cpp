#include "scan/settings.h"

#include <climits>

#include "base/number_text.h"

namespace morvale {

namespace {

SettingRange whole(Setting setting, const char* key, const char* option, long long low,
                   long long high, Setting atMost = Setting::kNone) {
  SettingRange r{setting, key, option};
  r.low = low;
  r.high = high;
  r.atMost = atMost;
  return r;
}

// A real number p with low < p <= high, or `word`.
SettingRange aboveAtMost(Setting setting, const char* key, const char* option, double low,
                         double high, const char* word = "") {
  SettingRange r{setting, key, option};
  r.real = true;
  r.lowOpen = true;
  r.realLow = low;
  r.realHigh = high;
  r.word = word;
  return r;
}

const SettingRange kRanges[] = {
    whole(Setting::kMeasure, "measure", "--measure", 1, 6),
    whole(Setting::kTupleSize, "tuple_size", "-k", 1, 8),
    whole(Setting::kWindowSize, "window_size", "--window", kTupleSizeBound, kMaxFirstPhaseWindow),
    whole(Setting::kPoolSize, "pool_size", "--pool", 2, INT_MAX),
    whole(Setting::kDrawCount, "draw_count", "--draws", 2, kMaxDrawCount),
    whole(Setting::kWindowStep, "window_step", "--step", 1, INT_MAX),
    whole(Setting::kWindowIncrement, "window_increment", "--increment", 1, INT_MAX),
    whole(Setting::kOverlapCount, "overlap_count", "", INT_MIN, INT_MAX),
    whole(Setting::kMinWindows, "overlap_count", "--min-windows", 1, INT_MAX),
    aboveAtMost(Setting::kCutoff, "cutoff", "--cutoff", 0.0, 1.0, "auto"),
    aboveAtMost(Setting::kAutoFraction, "auto_fraction", "--auto-fraction", 0.0, 1.0),
    whole(Setting::kRefineWindowSize, "window_size", "--refine-window", kTupleSizeBound, INT_MAX),
    whole(Setting::kRefinePoolSize, "pool_size", "--refine-pool", 2, INT_MAX),
    whole(Setting::kRefineDrawCount, "draw_count", "--refine-draws", 2, kMaxDrawCount),
    whole(Setting::kRefineWindowStep, "window_step", "--refine-step", 1, INT_MAX),
    whole(Setting::kScanCount, "scan_count", "--scans", 1, INT_MAX),
    whole(Setting::kVoteThreshold, "vote_threshold", "--votes", 1, INT_MAX, Setting::kScanCount),
    aboveAtMost(Setting::kRefineCutoff, "cutoff", "--refine-cutoff", 0.0, 1.0),
};

const char* const kMeasureNames[] = {"abs",        "euclid",        "kl",
                                     "abs-markov", "euclid-markov", "kl-markov"};

long long lowFor(const SettingRange& r, int tupleSize) {
  return r.low == kTupleSizeBound ? tupleSize : r.low;
}

}  // namespace

const SettingRange& rangeOf(Setting setting) {
  for (const SettingRange& r : kRanges)
    if (r.setting == setting) return r;
  return kRanges[0];  // unreachable: every setting has a row
}

const SettingRange* rangeTable(std::size_t& count) {
  count = sizeof kRanges / sizeof kRanges[0];
  return kRanges;
}

bool inRange(Setting setting, long long value, int tupleSize) {
  const SettingRange& r = rangeOf(setting);
  return !r.real && value >= lowFor(r, tupleSize) && value <= r.high;
}

bool inRealRange(Setting setting, double value) {
  const SettingRange& r = rangeOf(setting);
  const bool aboveLow = r.lowOpen ? value > r.realLow : value >= r.realLow;
  return r.real && aboveLow && value <= r.realHigh;  // false for NaN
}

namespace {

std::string rangeWords(const SettingRange& r, const std::string& low) {
  if (r.real) {
    const std::string words = std::string(r.lowOpen ? "a number above " : "a number from ") +
                              numberText("%g", r.realLow) + (r.lowOpen ? ", at most " : " to ") +
                              numberText("%g", r.realHigh);
    return *r.word ? std::string(r.word) + " or " + words : words;
  }
  if (r.atMost != Setting::kNone)
    return "a whole number from " + low + " to the " + rangeOf(r.atMost).option + " value";
  if (r.low == INT_MIN && r.high == INT_MAX) return "a whole number";
  if (r.high == INT_MAX) return "a whole number of at least " + low;
  return "a whole number from " + low + " to " + std::to_string(r.high);
}

}  // namespace

std::string rangeText(Setting setting, int tupleSize) {
  const SettingRange& r = rangeOf(setting);
  return rangeWords(r, std::to_string(lowFor(r, tupleSize)));
}

std::string rangeTextWithK(Setting setting) {
  const SettingRange& r = rangeOf(setting);
  return rangeWords(r, r.low == kTupleSizeBound ? "k" : std::to_string(r.low));
}

const char* measureName(int measure) {
  return measure >= 1 && measure <= 6 ? kMeasureNames[measure - 1] : "";
}

int measureOfName(const std::string& name) {
  for (int m = 1; m <= 6; ++m)
    if (name == kMeasureNames[m - 1]) return m;
  return 0;
}

}  // namespace morvale
