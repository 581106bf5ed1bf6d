#include "compare/island_clusters.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include "base/tokens.h"
#include "compare/island_links.h"
#include "compare/sketch.h"

namespace morvale::compare {

namespace {

// The order of islands within a cluster, and of clusters' first members.
bool before(const ClusteredIsland& a, const ClusteredIsland& b) {
  return std::tie(a.genome, a.record, a.start, a.end, a.island) <
         std::tie(b.genome, b.record, b.start, b.end, b.island);
}

// Reads one folder's islands.fasta into `islands` and `letters`; "" or the problem.
std::string readIslandsFasta(const std::string& path, const std::string& genome,
                             std::vector<ClusteredIsland>& islands,
                             std::vector<std::string>& letters) {
  std::ifstream in(path);
  if (!in) return path + ": cannot open the islands' letters";
  std::string line;
  for (long number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] != '>') {
      if (islands.empty()) return path + " line " + std::to_string(number) + ": letters before '>'";
      letters.back() += line;
      continue;
    }
    // ">island_3 record:start-end"; a record name may hold ':' itself.
    const std::size_t space = line.find(' ');
    const std::size_t colon = line.rfind(':');
    const std::size_t dash = colon == std::string::npos ? colon : line.find('-', colon);
    long long start = 0, end = 0;
    if (space == std::string::npos || colon == std::string::npos || colon < space ||
        dash == std::string::npos ||
        !parseInteger(std::string_view(line).substr(colon + 1, dash - colon - 1), start) ||
        !parseInteger(std::string_view(line).substr(dash + 1), end) || start < 1 || end < start)
      return path + " line " + std::to_string(number) +
             ": not an island header (>island_N record:start-end)";
    ClusteredIsland island;
    island.genome = genome;
    island.island = line.substr(1, space - 1);
    island.record = line.substr(space + 1, colon - space - 1);
    island.start = start;
    island.end = end;
    islands.push_back(std::move(island));
    letters.emplace_back();
  }
  if (in.bad()) return path + ": cannot read the islands' letters";
  return "";
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

ClusterResult clusterGenomeFolders(const std::string& outDir,
                                   const std::vector<std::string>& folders,
                                   const ClusterSettings& settings) {
  ClusterResult result;
  std::vector<ClusteredIsland> islands;
  std::vector<std::string> letters;
  for (const std::string& folder : folders) {
    result.error =
        readIslandsFasta(outDir + "/" + folder + "/islands.fasta", folder, islands, letters);
    if (!result.error.empty()) return result;
  }
  clusterIslands(std::move(islands), letters, settings, result);
  // Every folder given is a genome of the table, with islands or without.
  std::set<std::string> genomes(folders.begin(), folders.end());
  result.genomes.assign(genomes.begin(), genomes.end());
  return result;
}

}  // namespace morvale::compare
