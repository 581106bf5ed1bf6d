#include "scan/settings.h"

#include <climits>

namespace morvale {

namespace {

const SettingRange kRanges[] = {
    {Setting::kMeasure, "measure", "--measure", 1, 6},
    {Setting::kTupleSize, "tuple_size", "-k", 1, 8},
    {Setting::kWindowSize, "window_size", "--window", kTupleSizeBound, kMaxFirstPhaseWindow},
    {Setting::kPoolSize, "pool_size", "--pool", 2, INT_MAX},
    {Setting::kDrawCount, "draw_count", "--draws", 2, kMaxDrawCount},
    {Setting::kWindowStep, "window_step", "--step", 1, INT_MAX},
    {Setting::kWindowIncrement, "window_increment", "--increment", 1, INT_MAX},
    {Setting::kOverlapCount, "overlap_count", "--min-windows", INT_MIN, INT_MAX},
    {Setting::kRefineWindowSize, "window_size", "--refine-window", kTupleSizeBound, INT_MAX},
    {Setting::kRefinePoolSize, "pool_size", "--refine-pool", 2, INT_MAX},
    {Setting::kRefineDrawCount, "draw_count", "--refine-draws", 2, kMaxDrawCount},
    {Setting::kRefineWindowStep, "window_step", "--refine-step", 1, INT_MAX},
    {Setting::kScanCount, "scan_count", "--scans", 1, INT_MAX},
    {Setting::kVoteThreshold, "vote_threshold", "--votes", 1, INT_MAX},
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

bool inRange(Setting setting, long long value, int tupleSize) {
  const SettingRange& r = rangeOf(setting);
  return value >= lowFor(r, tupleSize) && value <= r.high;
}

namespace {
std::string rangeWords(const SettingRange& r, const std::string& low) {
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
