// The settings of the natural scan, in letters of the genome string: its windows,
// their step and the shortest island it reports. Bins are 1000 letters, fixed.
#pragma once

#include <cstdint>
#include <string>

namespace morvale::natural {

constexpr std::int64_t kBinLetters = 1000;
constexpr int kShortestWindow = 8;         // one 8-letter word
constexpr int kLongestWindow = 100000000;  // keeps a window's word counts within 32 bits
constexpr std::int64_t kLongestIsland = 1000000000000;  // a bound for the option, far above any

struct NaturalSettings {
  int window = 5000;              // letters a window spans; kShortestWindow to kLongestWindow
  int step = 1000;                // letters between the starts of neighbouring windows; at least 1
  std::int64_t minLength = 5000;  // the shortest island kept, in letters; at least 0
};

// "" when the settings can be used, else one line naming the setting and its range.
std::string naturalSettingsProblem(const NaturalSettings& settings);

}  // namespace morvale::natural
