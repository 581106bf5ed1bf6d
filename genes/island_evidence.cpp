#include "genes/island_evidence.h"

#include "genes/robust_z.h"

namespace morvale {

IslandEvidence islandEvidence(const std::vector<std::size_t>& genes, const GeneScores& scores) {
  IslandEvidence e;
  std::vector<double> atypicality;
  std::uint64_t codons = 0;
  std::uint64_t gc3Codons = 0;
  for (std::size_t feature : genes) {
    const GeneScore* g = geneScoreOf(scores, feature);
    if (!g) continue;
    ++e.genes;
    if (!g->scored) continue;
    atypicality.push_back(g->atypicality);
    codons += g->codons;
    gc3Codons += g->gc3Codons;
    if (g->atypical) e.atypical.push_back(feature);
  }
  e.scoredGenes = atypicality.size();
  e.atypicalGenes = e.atypical.size();
  if (e.scoredGenes == 0) return e;
  e.atypicalFraction = static_cast<double>(e.atypicalGenes) / static_cast<double>(e.scoredGenes);
  e.medianAtypicality = median(atypicality);
  e.gc3Deviation =
      100.0 * (static_cast<double>(gc3Codons) / static_cast<double>(codons) - scores.genomeGc3);
  return e;
}

}  // namespace morvale
