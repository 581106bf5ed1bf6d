// Islands across genomes: reads the islands.fasta of finished genomes,
// sketches every island and clusters them by single linkage. Clusters and their ids
// depend neither on the order the files are given in nor on threads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvale::compare {

// The distance at or below which two islands are joined (see containmentDistance):
// 0.5 joins an island to another that holds at least half of its k-mers.
constexpr double kDefaultClusterDistance = 0.5;

struct ClusterSettings {
  double maxDistance = kDefaultClusterDistance;
};

// One island (one piece of an island that spans records), as islands.fasta names it.
struct ClusteredIsland {
  std::string genome;  // the folder name under the output folder, e.g. "K12" or "K12/chr"
  std::string record;
  std::string island;      // "island_3" or "island_3_part1of2"
  std::int64_t start = 0;  // record positions, 1-based and inclusive, as islands.tsv
  std::int64_t end = 0;
  int cluster = 0;  // 1..
};

struct ClusterResult {
  std::string error;  // "" when done, else one line naming the file and the problem
  // Cluster ids: by number of genomes (most first), then size (largest first), then
  // the first member by (genome, record, start). Islands are listed by cluster, then
  // genome, record and start.
  std::vector<ClusteredIsland> islands;
  int clusters = 0;
  std::vector<std::string> genomes;  // the folder names, sorted
  std::vector<int> clusterSize;      // islands of cluster c + 1 at [c]
  std::vector<int> clusterGenomes;   // genomes it has at [c]
};

// One genome's islands.fasta (see islands/islands_fasta.h).
struct GenomeIslandsFile {
  std::string genome;  // its name in the result, e.g. "K12" or "K12/chr"
  std::string path;
};

// Clusters the islands of every file; every genome given is one of the result's
// genomes, with islands or without.
ClusterResult clusterIslandFiles(const std::vector<GenomeIslandsFile>& files,
                                 const ClusterSettings& settings);

// The same clustering of islands already in memory: `letters[i]` of `islands[i]`.
// Sets cluster ids, sorts `islands` (and the counts of `result`) as above.
void clusterIslands(std::vector<ClusteredIsland> islands, const std::vector<std::string>& letters,
                    const ClusterSettings& settings, ClusterResult& result);

}  // namespace morvale::compare
