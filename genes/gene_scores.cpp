#include "genes/gene_scores.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <map>

#include "base/precondition.h"
#include "genes/coding_sequence.h"
#include "genes/robust_z.h"

namespace morvale {

namespace {

// The sense codons of each amino acid, codons in ascending number.
std::map<char, std::vector<int>> codonFamilies() {
  std::map<char, std::vector<int>> families;
  for (int c = 0; c < 64; ++c)
    if (aminoAcidOf(c) != '*') families[aminoAcidOf(c)].push_back(c);
  return families;
}

// rho*_XY of `c`, counted on the sequence and its reverse complement together.
std::array<double, 16> relativeAbundance(const GeneComposition& c) {
  std::array<double, 4> letter{};
  double letters = 0.0;
  for (int x = 0; x < 4; ++x) {
    letter[x] = static_cast<double>(c.letters[x] + c.letters[3 - x]);
    letters += letter[x];
  }
  std::array<double, 16> pair{};
  double pairs = 0.0;
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 4; ++y) {
      // The reverse complement of xy is (3 - y)(3 - x).
      pair[4 * x + y] =
          static_cast<double>(c.dinucleotides[4 * x + y] + c.dinucleotides[4 * (3 - y) + (3 - x)]);
      pairs += pair[4 * x + y];
    }
  std::array<double, 16> rho{};
  if (letters == 0.0 || pairs == 0.0) return rho;
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 4; ++y) {
      const double fx = letter[x] / letters;
      const double fy = letter[y] / letters;
      rho[4 * x + y] = fx * fy == 0.0 ? 0.0 : (pair[4 * x + y] / pairs) / (fx * fy);
    }
  return rho;
}

}  // namespace

double codonBias(const GeneComposition& gene, const GeneComposition& genome) {
  static const std::map<char, std::vector<int>> families = codonFamilies();
  std::uint64_t total = 0;
  for (int c = 0; c < 64; ++c)
    if (aminoAcidOf(c) != '*') total += gene.codons[c];
  double bias = 0.0;
  for (const auto& family : families) {
    std::uint64_t inGene = 0;
    std::uint64_t inGenome = 0;
    for (int c : family.second) {
      inGene += gene.codons[c];
      inGenome += genome.codons[c];
    }
    if (inGene == 0) continue;
    double sum = 0.0;
    for (int c : family.second) {
      const double own = static_cast<double>(gene.codons[c]) / static_cast<double>(inGene);
      const double pooled =
          inGenome == 0 ? 0.0
                        : static_cast<double>(genome.codons[c]) / static_cast<double>(inGenome);
      sum += std::fabs(own - pooled);
    }
    bias += static_cast<double>(inGene) / static_cast<double>(total) * sum;
  }
  return bias;
}

double dinucleotideDistance(const GeneComposition& gene, const GeneComposition& genome) {
  const std::array<double, 16> own = relativeAbundance(gene);
  const std::array<double, 16> pooled = relativeAbundance(genome);
  double sum = 0.0;
  for (int i = 0; i < 16; ++i) sum += std::fabs(own[i] - pooled[i]);
  return sum / 16.0;
}

double atypicalCut(std::vector<double> scores, double fraction) {
  // floor(fraction * n), with a little slack for fractions binary cannot hold.
  const auto top =
      static_cast<std::size_t>(std::floor(fraction * static_cast<double>(scores.size()) + 1e-9));
  if (top == 0 || top >= scores.size()) return std::numeric_limits<double>::infinity();
  std::nth_element(scores.begin(), scores.begin() + static_cast<std::ptrdiff_t>(top), scores.end(),
                   std::greater<double>());
  return scores[top];
}

GeneScores scoreGenes(const Annotation& annotation, const std::vector<GenomeRecord>& records,
                      const std::vector<std::string>& recordLetters,
                      const GeneScoreSettings& settings) {
  require(settings.atypicalFraction > kMinAtypicalFraction &&
              settings.atypicalFraction <= kMaxAtypicalFraction,
          "atypical fraction outside (0, 0.5]");
  require(settings.lengthNeighbours >= 1, "gene length neighbours below 1");
  std::map<std::string, std::size_t> recordByName;
  for (std::size_t r = 0; r < records.size() && r < recordLetters.size(); ++r)
    recordByName.emplace(records[r].name, r);

  GeneScores out;
  std::vector<GeneComposition> compositions;
  GeneComposition genome;
  for (std::size_t i = 0; i < annotation.features.size(); ++i) {
    const Feature& f = annotation.features[i];
    if (f.kind != FeatureKind::kCds) continue;
    GeneScore g;
    g.feature = i;
    const auto record = recordByName.find(f.record);
    const bool fits =
        record != recordByName.end() && !f.segments.empty() &&
        std::all_of(f.segments.begin(), f.segments.end(), [&](const FeatureSegment& s) {
          return s.start >= 0 && s.start <= s.end &&
                 s.end <= static_cast<std::int64_t>(recordLetters[record->second].size());
        });
    GeneComposition c;
    if (!fits) {
      g.whyNot = "not on the genome's records";
    } else {
      const std::string coding = codingSequence(f, recordLetters[record->second]);
      g.length = static_cast<std::int64_t>(coding.size());
      g.whyNot = countGene(coding, f.partialStart || f.partialEnd, c);
    }
    g.scored = g.whyNot.empty();
    if (g.scored) {
      g.codons = c.countedCodons;
      g.gc3Codons = c.gc3Codons;
      g.gc3 = static_cast<double>(c.gc3Codons) / static_cast<double>(c.countedCodons);
      for (int k = 0; k < 64; ++k) genome.codons[k] += c.codons[k];
      genome.countedCodons += c.countedCodons;
      genome.gc3Codons += c.gc3Codons;
      ++out.scoredGenes;
    }
    out.genes.push_back(std::move(g));
    compositions.push_back(c);
  }
  out.genomeGc3 = genome.countedCodons == 0 ? 0.0
                                            : static_cast<double>(genome.gc3Codons) /
                                                  static_cast<double>(genome.countedCodons);
  for (const std::string& letters : recordLetters) countDinucleotides(letters, genome);

  // The scored genes, measured, and their places by length.
  std::vector<std::size_t> scored;
  std::vector<double> bias, gc3, distance;
  for (std::size_t i = 0; i < out.genes.size(); ++i) {
    GeneScore& g = out.genes[i];
    if (!g.scored) continue;
    g.codonBias = codonBias(compositions[i], genome);
    g.dinucleotideDistance = dinucleotideDistance(compositions[i], genome);
    scored.push_back(i);
    bias.push_back(g.codonBias);
    gc3.push_back(g.gc3);
    distance.push_back(g.dinucleotideDistance);
  }
  std::vector<std::size_t> order(scored.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return out.genes[scored[a]].length < out.genes[scored[b]].length ||
           (out.genes[scored[a]].length == out.genes[scored[b]].length && a < b);
  });
  std::vector<std::size_t> rank(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) rank[order[k]] = k;
  const std::vector<double> zBias = robustZByLength(bias, rank, settings.lengthNeighbours);
  const std::vector<double> zGc3 = robustZByLength(gc3, rank, settings.lengthNeighbours);
  const std::vector<double> zDistance = robustZByLength(distance, rank, settings.lengthNeighbours);
  std::vector<double> atypicality(scored.size());
  for (std::size_t k = 0; k < scored.size(); ++k) {
    GeneScore& g = out.genes[scored[k]];
    g.zCodon = zBias[k];
    g.zGc3 = zGc3[k];
    g.zDinucleotide = zDistance[k];
    g.atypicality = (g.zCodon + std::fabs(g.zGc3) + g.zDinucleotide) / 3.0;
    atypicality[k] = g.atypicality;
  }

  out.atypicalCut = atypicalCut(atypicality, settings.atypicalFraction);
  for (std::size_t k : scored) {
    GeneScore& g = out.genes[k];
    g.atypical = g.atypicality > out.atypicalCut;
    if (g.atypical) ++out.atypicalGenes;
  }
  return out;
}

const GeneScore* geneScoreOf(const GeneScores& scores, std::size_t feature) {
  const auto at = std::lower_bound(scores.genes.begin(), scores.genes.end(), feature,
                                   [](const GeneScore& g, std::size_t f) { return g.feature < f; });
  return at != scores.genes.end() && at->feature == feature ? &*at : nullptr;
}

}  // namespace morvale
