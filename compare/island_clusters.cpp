#include "compare/island_clusters.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "compare/island_links.h"
#include "compare/sketch.h"
#include "islands/islands_fasta.h"

namespace morvale::compare {

namespace {

// The order of islands within a cluster, and of clusters' first members.
bool before(const ClusteredIsland& a, const ClusteredIsland& b) {
  return std::tie(a.genome, a.record, a.start, a.end, a.island) <
         std::tie(b.genome, b.record, b.start, b.end, b.island);
}

}  // namespace

void clusterIslands(std::vector<ClusteredIsland> islands, const std::vector<std::string>& letters,
                    const ClusterSettings& settings, ClusterResult& result) {
  std::vector<Sketch> sketches;
  sketches.reserve(letters.size());
  for (const std::string& l : letters) sketches.push_back(sketchOf(l));
  const std::vector<std::size_t> root = linkIslands(sketches, settings.maxDistance);

  // Each cluster's members, genomes and first member.
  std::map<std::size_t, std::vector<std::size_t>> members;
  for (std::size_t i = 0; i < islands.size(); ++i) members[root[i]].push_back(i);
  struct Cluster {
    std::size_t root;
    int size;
    int genomes;
    std::size_t first;
  };
  std::vector<Cluster> clusters;
  std::set<std::string> allGenomes;
  for (const auto& [r, list] : members) {
    std::set<std::string> genomes;
    std::size_t first = list[0];
    for (std::size_t i : list) {
      genomes.insert(islands[i].genome);
      if (before(islands[i], islands[first])) first = i;
    }
    allGenomes.insert(genomes.begin(), genomes.end());
    clusters.push_back({r, static_cast<int>(list.size()), static_cast<int>(genomes.size()), first});
  }
  std::sort(clusters.begin(), clusters.end(), [&](const Cluster& a, const Cluster& b) {
    if (a.genomes != b.genomes) return a.genomes > b.genomes;
    if (a.size != b.size) return a.size > b.size;
    return before(islands[a.first], islands[b.first]);
  });
  result.clusters = static_cast<int>(clusters.size());
  result.clusterSize.clear();
  result.clusterGenomes.clear();
  for (std::size_t c = 0; c < clusters.size(); ++c) {
    for (std::size_t i : members[clusters[c].root]) islands[i].cluster = static_cast<int>(c) + 1;
    result.clusterSize.push_back(clusters[c].size);
    result.clusterGenomes.push_back(clusters[c].genomes);
  }
  std::sort(islands.begin(), islands.end(), [](const ClusteredIsland& a, const ClusteredIsland& b) {
    return a.cluster != b.cluster ? a.cluster < b.cluster : before(a, b);
  });
  result.islands = std::move(islands);
  result.genomes.assign(allGenomes.begin(), allGenomes.end());
}

ClusterResult clusterIslandFiles(const std::vector<GenomeIslandsFile>& files,
                                 const ClusterSettings& settings) {
  ClusterResult result;
  std::vector<ClusteredIsland> islands;
  std::vector<std::string> letters;
  std::set<std::string> genomes;
  for (const GenomeIslandsFile& file : files) {
    std::vector<IslandLetters> read;
    result.error = readIslandsFasta(file.path, read);
    if (!result.error.empty()) return result;
    for (IslandLetters& i : read) {
      islands.push_back({file.genome, i.record, i.island, i.start, i.end, 0});
      letters.push_back(std::move(i.letters));
    }
    genomes.insert(file.genome);
  }
  clusterIslands(std::move(islands), letters, settings, result);
  // Every genome given is one of the table's, with islands or without.
  result.genomes.assign(genomes.begin(), genomes.end());
  return result;
}

}  // namespace morvale::compare
