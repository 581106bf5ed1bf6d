// Island lists, the input of the refinement: the white-space-separated integers of
// a file, taken two by two as island start and end (end exclusive), whatever the
// lines. Reading stops at the first token that is not a 32-bit integer.
#pragma once

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace morvale {

struct IslandList {
  bool opened = false;
  int errorNumber = 0;               // errno when the file could not be opened or read
  std::vector<std::int64_t> values;  // the integers before the stop, in file order
  std::string stoppedAt;             // the token that stopped the reading ("" at the end)
};

// Reads `fileName`. A file that cannot be opened gives "Unable to open 0" on
// standard error twice (the two readings of the list), and opened = false.
IslandList readIslandList(const std::string& fileName, std::ostream& errors = std::cerr);

// One line: how many islands were read from the file and where reading stopped.
std::string islandListSummary(const IslandList& list, const std::string& fileName);

// Checks a list before any island is scanned in a genome of `genomeLength` letters:
// "" when sound, else one line naming the file, the island and the reason. Refused:
// a file that could not be read, no islands, an odd number of values, a negative
// start, a start beyond the genome, a start not below its end, an island that
// overlaps or precedes the one before. A last end beyond the genome is clipped to
// the genome's end.
std::string islandListProblem(IslandList& list, const std::string& fileName,
                              std::int64_t genomeLength);

}  // namespace morvale
