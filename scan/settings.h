// The settings of a run, in plain structs, and the one table of their allowed
// ranges: the dialogue checks its answers against it and the command line its
// options, so both accept exactly the same values.
#pragma once

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
  kOverlapCount,
  kRefineWindowSize,
  kRefinePoolSize,
  kRefineDrawCount,
  kRefineWindowStep,
  kScanCount,
  kVoteThreshold,
};

// The allowed whole numbers of one setting: [low, high], where a low of
// kTupleSizeBound stands for the run's k (a window holds at least one k-mer).
struct SettingRange {
  Setting setting;
  const char* key;     // its name in run records
  const char* option;  // its command-line option
  long long low;
  long long high;
};
constexpr long long kTupleSizeBound = -0x7fffffffffffffffLL;

const SettingRange& rangeOf(Setting setting);

// True when `value` lies in the setting's range for a run with k = `tupleSize`.
bool inRange(Setting setting, long long value, int tupleSize);

// The range in words: "a whole number from 1 to 8", "a whole number of at least 2",
// "a whole number".
std::string rangeText(Setting setting, int tupleSize);
// The same with the run's k written as "k" ("a whole number from k to 10000").
std::string rangeTextWithK(Setting setting);

// The measure's short name (1 abs, 2 euclid, 3 kl, 4 abs-markov, 5 euclid-markov,
// 6 kl-markov), and the measure of a name (0 when it is none).
const char* measureName(int measure);
int measureOfName(const std::string& name);

}  // namespace morvale
