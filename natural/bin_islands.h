// Islands of the natural scan from 1000-letter bins: a bin scores the mean of the
// windows over it, and neighbouring bins at or above the cut-off join into islands.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "genome/genome.h"
#include "natural/natural_settings.h"
#include "natural/window_scores.h"

namespace morvale::natural {

// A record [rs, re) has bins [rs + 1000 i, min(rs + 1000 (i + 1), re)). A bin's
// score is the mean raw score of the windows (of its record) that overlap it, summed
// in the order given; a bin no window overlaps has none and is in no island. Runs
// of neighbouring bins scoring at or above `cutoff` of at least settings.minLength
// letters are the islands, genome letters [start, end), ascending; none crosses a
// record's end.
std::vector<std::pair<std::int64_t, std::int64_t>> binIslands(
    const Genome& genome, const std::vector<ScoredWindow>& windows, double cutoff,
    const NaturalSettings& settings);

}  // namespace morvale::natural
