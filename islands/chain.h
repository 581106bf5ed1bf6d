// Chaining windows into islands: windows whose spans overlap or touch form a run;
// a run of at least the minimum number of windows becomes an islands line.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace morvale {

// Chains the windows (sizes[i], centres[i]) in the given order and writes one
// islands line per island to `islandsFileName`, truncating it first; prints
// "No islands found with these parameters." on `messages` when no line was written. A run that
// qualifies becomes the pending island; the pending island is written when a later
// qualifying run starts after its end, and otherwise takes that run's end. Returns
// false when the islands file could not be created or written (errno set).
bool chainIslands(const std::vector<std::int64_t>& sizes, const std::vector<std::int64_t>& centres,
                  std::int64_t windowCount, std::int32_t minWindows,
                  const std::string& islandsFileName, std::ostream& messages);

// "Cannot write islands file NAME: reason", the reason from errno.
std::string islandsWriteError(const std::string& islandsFileName);

}  // namespace morvale
