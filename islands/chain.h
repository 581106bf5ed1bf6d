// Chaining windows into islands: windows whose spans overlap or touch form a run;
// a run of at least the minimum number of windows becomes an islands line.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace morvale {

// Chains the windows (sizes[i], centres[i]) in the given order into islands lines;
// prints "No islands found with these parameters." on `messages` when there is none. A
// run that qualifies becomes the pending island; the pending island is written when a
// later qualifying run starts after its end, and otherwise takes that run's end. The
// lines are written whole to `islandsFileName` (base/whole_file: an earlier file stays
// as it was until the new one is complete). Returns "" or one line: "cannot write
// NAME: reason".
std::string chainIslands(const std::vector<std::int64_t>& sizes,
                         const std::vector<std::int64_t>& centres, std::int64_t windowCount,
                         std::int32_t minWindows, const std::string& islandsFileName,
                         std::ostream& messages);

}  // namespace morvale
