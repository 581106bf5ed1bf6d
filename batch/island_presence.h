// Islands across the genomes of one output folder: clusters the islands of its
// finished genome folders into island_clusters.tsv and makes the presence table of
// index.html from them. Shared by a batch run and by collecting a workflow's folders.
#pragma once

#include <string>
#include <vector>

#include "compare/island_clusters.h"

namespace morvale {

struct IslandPresence {
  std::string error;  // "" when done, else one line naming the file and the problem
  std::string html;   // the presence section for index.html ("" with fewer than 2 folders)
};

// With two `folders` or more (genome folders under `outDir`, each holding its
// islands.fasta and report.html), writes outDir/island_clusters.tsv whole, one row per island with
// the columns cluster, genome, record, island, start, end, length, cluster_size and
// cluster_genomes, and returns the section; with fewer, removes an island_clusters.tsv
// an earlier run left there, so the folder never holds clusters of another run.
IslandPresence clusterIslandsAcross(const std::string& outDir,
                                    const std::vector<std::string>& folders,
                                    const compare::ClusterSettings& settings);

}  // namespace morvale
