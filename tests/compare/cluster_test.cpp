// Islands across genomes: canonical sketches, the containment distance, single
// linkage with its stable cluster ids, and island_clusters.tsv from genome folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "compare/island_clusters.h"
#include "compare/island_links.h"
#include "compare/sketch.h"
#include "test_support.h"

namespace morvale::compare {
namespace {

std::string reverseComplement(std::string s) {
  std::reverse(s.begin(), s.end());
  for (char& c : s) c = c == 'a' ? 't' : c == 'c' ? 'g' : c == 'g' ? 'c' : 'a';
  return s;
}

// `s` with every `every`-th letter changed.
std::string mutated(std::string s, std::size_t every) {
  for (std::size_t i = every / 2; i < s.size(); i += every) s[i] = s[i] == 'a' ? 'c' : 'a';
  return s;
}

TEST(Sketch, BothStrandsAndEitherCaseGiveOneSketchAndContainmentIsEstimated) {
  const std::string a = testing::randomDna(30000, 1);
  const Sketch s = sketchOf(a);
  EXPECT_EQ(s.hashes.size(), kSketchSize);
  EXPECT_NEAR(static_cast<double>(s.distinct), 30000 - 20, 3000);
  EXPECT_EQ(sketchOf(reverseComplement(a)).hashes, s.hashes);
  std::string upper = a;
  for (char& c : upper) c = static_cast<char>(std::toupper(c));
  EXPECT_EQ(sketchOf(upper).hashes, s.hashes);
  // A k-mer across an N is skipped; the rest count.
  const std::string r = testing::randomDna(50, 4);
  EXPECT_EQ(sketchOf(r).distinct, 30);
  EXPECT_EQ(sketchOf(r + r).distinct, 50);  // repeats count once: 30, and 20 across the join
  EXPECT_EQ(sketchOf(r.substr(0, 25) + "N" + r.substr(25)).distinct, 10);
  EXPECT_EQ(sketchOf(a.substr(0, 20)).hashes.size(), 0u);
  const std::pair<std::string, double> cases[] = {
      {a, 0.0},
      {a.substr(5000, 6000), 0.0},                              // inside a: contained whole
      {a.substr(0, 9000) + testing::randomDna(21000, 2), 0.7},  // 9000 of 30000 shared
      {testing::randomDna(30000, 3), 1.0},
      {"", 1.0},
  };
  for (const auto& [b, distance] : cases)
    EXPECT_NEAR(containmentDistance(s, sketchOf(b)), distance, 0.04) << b.size();
}

// Sketches by hand: b is 1 - 7/10 from a (which rounds above 0.3), c is inside a
// (0 apart), d is a copy of a, e shares nothing and f is empty.
TEST(LinkIslands, IslandsAtMostTheDistanceApartAreJoined) {
  const std::vector<Sketch> sketches = {{{1, 2, 3, 4, 5, 6, 8, 10, 12, 20}, 10},
                                        {{1, 2, 3, 4, 5, 6, 9, 11, 13, 20}, 10},
                                        {{8, 10, 12}, 3},
                                        {{1, 2, 3, 4, 5, 6, 8, 10, 12, 20}, 10},
                                        {{30, 31}, 2},
                                        {{}, 0}};
  const std::pair<double, std::vector<std::size_t>> cases[] = {
      {0.0, {0, 1, 0, 0, 4, 5}},  {0.29, {0, 1, 0, 0, 4, 5}}, {0.3, {0, 0, 0, 0, 4, 5}},
      {0.99, {0, 0, 0, 0, 4, 5}}, {1.0, {0, 0, 0, 0, 0, 0}},
  };
  for (const auto& [distance, clusters] : cases)
    EXPECT_EQ(linkIslands(sketches, distance), clusters) << distance;
}

std::string repeated(const std::string& s, int times) {
  std::string r;
  while (times-- > 0) r += s;
  return r;
}

// Islands "genome:segment", segments made from a few random ones.
class Clusters : public ::testing::Test {
 protected:
  std::vector<std::string> segments = {testing::randomDna(20000, 11), testing::randomDna(15000, 12),
                                       testing::randomDna(12000, 13), testing::randomDna(9000, 14)};
  ClusterResult cluster(const std::vector<std::pair<std::string, std::string>>& islands) {
    std::vector<ClusteredIsland> list;
    std::vector<std::string> letters;
    for (const auto& [genome, dna] : islands) {
      ClusteredIsland i;
      i.genome = genome;
      i.record = "chr";
      i.island = "island_" + std::to_string(list.size() + 1);
      i.start = static_cast<std::int64_t>(dna.size()) + 1;  // not from the order given
      i.end = i.start + static_cast<std::int64_t>(dna.size()) - 1;
      list.push_back(i);
      letters.push_back(dna);
    }
    ClusterResult r;
    clusterIslands(list, letters, ClusterSettings(), r);
    return r;
  }
  static std::vector<int> byIsland(const ClusterResult& r) {  // each island's cluster, by name
    std::vector<int> ids(r.islands.size());
    for (const ClusteredIsland& i : r.islands) ids[std::stoul(i.island.substr(7)) - 1] = i.cluster;
    return ids;
  }
};

TEST_F(Clusters, SharedSegmentsJoinAndUniqueOnesStandAlone) {
  const std::string& s = segments[0];
  const auto of = [&](const char* islands) {  // "A1": genome A holds segment 1
    std::vector<std::pair<std::string, std::string>> list;
    for (const std::string& i : testing::split(islands, ' '))
      list.emplace_back(i.substr(0, 1), segments[static_cast<std::size_t>(i[1] - '0')]);
    return list;
  };
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> islands;
    std::vector<int> clusters;
  } cases[] = {
      {"direct copy", {{"A", s}, {"B", s}, {"B", segments[1]}}, {1, 1, 2}},
      {"reverse-complemented copy", {{"A", s}, {"B", reverseComplement(s)}}, {1, 1}},
      {"partial copy", {{"A", segments[1]}, {"B", s.substr(4000, 7000)}, {"A", s}}, {2, 1, 1}},
      {"copy with 1 % changed", {{"A", s}, {"B", mutated(s, 100)}}, {1, 1}},
      {"copy with 10 % changed", {{"A", s}, {"B", mutated(s, 10)}}, {1, 2}},
      {"k-mers repeated in an island count once",
       {{"A", repeated(s.substr(0, 1000), 5)}, {"B", s.substr(0, 1000) + segments[2]}},
       {1, 1}},
      {"chain: a-b and b-c overlap, a and c do not",
       {{"A", s.substr(0, 8000)}, {"B", s.substr(4000, 16000)}, {"C", s.substr(12000)}},
       {1, 1, 1}},
      // Ids: more genomes first, then more islands, then the first member.
      {"ids", of("C2 B2 A3 A0 B0 C0 A1 A1 A1 A1"), {2, 2, 4, 1, 1, 1, 3, 3, 3, 3}},
  };
  for (const auto& c : cases) EXPECT_EQ(byIsland(cluster(c.islands)), c.clusters) << c.what;
}

TEST_F(Clusters, GenomeOrderDoesNotChangeTheResult) {
  std::vector<std::pair<std::string, std::string>> islands;
  for (int g = 0; g < 6; ++g)
    for (std::size_t k = 0; k < segments.size(); ++k)
      if ((g + k) % 3 != 0)
        islands.emplace_back("G" + std::to_string(g), segments[k].substr(g * 300));
  const auto rows = [&] {  // "cluster genome start" of each island in the result's order
    std::string text;
    for (const ClusteredIsland& i : cluster(islands).islands)
      text += std::to_string(i.cluster) + " " + i.genome + " " + std::to_string(i.start) + "\n";
    return text;
  };
  const std::string first = rows();
  std::mt19937 gen(5);
  for (int round = 0; round < 3; ++round) {
    std::shuffle(islands.begin(), islands.end(), gen);
    EXPECT_EQ(rows(), first) << round;
  }
}

}  // namespace
}  // namespace morvale::compare
