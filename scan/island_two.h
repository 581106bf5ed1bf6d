// The refinement phase: rescan the islands of a first-phase islands file with a
// fixed window, against random samples drawn once from the rest of the genome
// (the background), scoring each window position several times in a row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scan/scan_common.h"

namespace morvale {

// An island list as read: the integers in file order, or the problem that stopped
// the reading.
struct IslandList {
  std::vector<std::int64_t> values;
  std::string problem;  // "" when the file was read and every token was a 32-bit integer
};

// Reads an island list: the white-space-separated integers of the file, as a flat
// sequence, in two passes (count, then values). A token that is not a 32-bit
// integer ends the reading with a problem naming it. An unopenable file gives
// "Unable to open 0" on standard error for each pass, no values, and a problem
// naming the file and the reason.
IslandList readIslandList(const std::string& fileName);

// Checks the list against a genome of `genomeLength` letters after the last end is
// clipped to it: pairs of values, each start at least 0, below its end and below
// the genome length, each island after the end of the one before. Returns "" when
// sound, otherwise a line naming the first bad pair.
std::string islandListProblem(std::vector<std::int64_t>& values, std::int64_t genomeLength);

// The genome with every island [start, end) cut out, the rest joined in order.
std::string backgroundSequence(const std::string& genome, const std::vector<std::int64_t>& values);

// Scores every window position [start, start + W) with start = island start,
// + step, ... while start < end - W, `scanCount` times each, centre start + 0.5 W.
// Rows go to the measure's refinement window-score file, which is removed once the
// genome has been read.
ScanResult IslandII(int tupleSize, int windowSize, int drawCount, int windowStep,
                    const std::string& genomeFileName, const std::string& islandsFileName,
                    int measure, int poolSize, int scanCount);

}  // namespace morvale
