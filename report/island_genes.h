// What the features of an annotated genome say of each island: the genes it
// overlaps, its mobility genes (integrases, recombinases, transposases, IS
// elements, phage proteins, conjugal transfer, relaxases) and the tRNA or tmRNA
// genes inside it or within 2 kbp of either end (classic insertion sites).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "genome/annotation.h"

namespace morvale::report {

struct LoadedRun;

// True for a mobile element, or a product or gene name that names an integrase,
// recombinase, transposase, IS element, phage or prophage protein, conjugal
// transfer or a relaxase.
bool isMobility(const Feature& feature);
// True for tRNA and tmRNA genes.
bool isTrna(const Feature& feature);

// What the annotation says of one island.
struct IslandGenes {
  std::vector<std::size_t> genes;      // features overlapping the island, in file order
  std::vector<std::size_t> mobility;   // of those, the mobility genes
  std::vector<std::size_t> trnaSites;  // tRNA/tmRNA genes inside or within 2 kbp of an end
};

// For every island of `in` (all its pieces), by index.
std::vector<IslandGenes> genesPerIsland(const LoadedRun& in, const Annotation& annotation);

}  // namespace morvale::report
