// The settings of a run, in plain structs, and the one table of their allowed
// ranges: the dialogue checks its answers against it and the command line its
// options (with a few rows of its own, such as the p-value cut-offs).
#pragma once

#include <cstddef>
#include <string>

namespace morvale {

struct FirstPhaseSettings {
  int measure = 6;
  int tupleSize = 2;
  int windowSize = 5000;  // the first window size
  int poolSize = 100;
  int drawCount = 30;
  int windowStep = 1000;
  int windowIncrement = 1000;
};

struct FirstAssemblySettings {
  double cutoff = 0.01;
  int overlapCount = 2;
};

struct RefinementSettings {
  int windowSize = 3000;
  int poolSize = 100;
  int drawCount = 30;
  int windowStep = 500;
  int scanCount = 3;
  int voteThreshold = 2;
  double cutoff = 0.05;
};

// The largest first window size: larger sizes are never scanned.
constexpr int kMaxFirstPhaseWindow = 10000;
// A scoring draws 3 x drawCount pool rows and keeps their indices; a million keeps
// that count well inside int and the memory small.
constexpr int kMaxDrawCount = 1000000;

enum class Setting {
  kMeasure,
  kTupleSize,
  kWindowSize,
  kPoolSize,
  kDrawCount,
  kWindowStep,
  kWindowIncrement,
  kOverlapCount,  // the dialogue's question: any whole number
  kMinWindows,    // the command line's --min-windows: at least 1
  kCutoff,        // first phase: auto or a p-value
  kAutoFraction,
  kRefineWindowSize,
  kRefinePoolSize,
  kRefineDrawCount,
  kRefineWindowStep,
  kScanCount,
  kVoteThreshold,
  kRefineCutoff,
  kNone,  // no setting: the end of the list, or no bound by another setting
};

// The allowed values of one setting. Whole numbers lie in [low, high], where a low
// of kTupleSizeBound stands for the run's k (a window holds at least one k-mer).
// Real numbers (`real`) lie in (realLow, realHigh] when `lowOpen`, else in
// [realLow, realHigh]; `word` is accepted besides them ("auto"). A setting with
// `atMost` is, on the command line, also at most that setting's value; the
// dialogue asks only for the whole-number rows it names and checks `low`/`high`.
struct SettingRange {
  Setting setting;
  const char* key;     // its name in run records
  const char* option;  // its command-line option, "" for the dialogue's own rows
  long long low = 0;
  long long high = 0;
  bool real = false;
  bool lowOpen = false;
  double realLow = 0.0;
  double realHigh = 0.0;
  const char* word = "";
  Setting atMost = Setting::kNone;
};
constexpr long long kTupleSizeBound = -0x7fffffffffffffffLL;

const SettingRange& rangeOf(Setting setting);

// Every row of the table, in the order of the enum (for help texts and man pages).
const SettingRange* rangeTable(std::size_t& count);

// True when whole number `value` lies in the setting's range for a run with
// k = `tupleSize` (the `atMost` bound is the caller's: it needs the other value).
bool inRange(Setting setting, long long value, int tupleSize);
// True when real number `value` lies in a real-valued setting's range.
bool inRealRange(Setting setting, double value);

// The range in words: "a whole number from 1 to 8", "a whole number of at least 2",
// "a whole number", "a number above 0, at most 1", "auto or a number above 0, at
// most 1"; with `atMost`, "a whole number from 1 to the --scans value".
std::string rangeText(Setting setting, int tupleSize);
// The same with the run's k written as "k" ("a whole number from k to 10000").
std::string rangeTextWithK(Setting setting);

// The measure's short name (1 abs, 2 euclid, 3 kl, 4 abs-markov, 5 euclid-markov,
// 6 kl-markov), and the measure of a name (0 when it is none).
const char* measureName(int measure);
int measureOfName(const std::string& name);

}  // namespace morvale
