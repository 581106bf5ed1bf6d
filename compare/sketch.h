// The k-mer sketch of an island: bottom-s MinHash over canonical k-mers, and the
// containment distance of two sketches. Hashes are computed the same way on every
// machine (2-bit codes through the splitmix64 finaliser), so sketches and distances
// are reproducible bit for bit.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace morvale::compare {

constexpr int kSketchK = 21;               // k-mer length of a sketch (at most 32)
constexpr std::size_t kSketchSize = 1000;  // s, the hashes a sketch keeps

struct Sketch {
  // The s smallest distinct hashes of the canonical k-mers, ascending (all of them
  // when there are fewer than s).
  std::vector<std::uint64_t> hashes;
  // Distinct canonical k-mers: exact when there are fewer than s hashes, else the
  // bottom-s estimate (s - 1) * 2^64 / (largest hash kept).
  std::int64_t distinct = 0;
};

// The splitmix64 finaliser: a fixed bijection on 64-bit words.
std::uint64_t mixHash(std::uint64_t code);

// The sketch of `letters`: each k-mer of A, C, G, T (either case) is coded 2 bits a
// letter (A 0, C 1, G 2, T 3, first letter highest) and taken as the smaller of its
// code and its reverse complement's, so both strands give the same k-mer; its hash
// is mixHash(code). K-mers holding any other letter (N, gaps) are skipped.
Sketch sketchOf(std::string_view letters, int k = kSketchK, std::size_t size = kSketchSize);

// Containment C estimates |A and B| / min(|A|, |B|) for the k-mer sets A, B: with t
// the smaller of the two sketches' largest hashes, each sketch holds every hash of
// its set up to t, a uniform sample; C = shared / min(nA, nB), where shared counts the
// hashes both sketches hold (all at most t) and nX the hashes of sketch X up to t.
// Returns the distance 1 - C, from 0 (one set inside the other) to 1 (nothing
// shared, or an empty sketch).
double containmentDistance(const Sketch& a, const Sketch& b);

// The same from `shared`, the number of hashes the two sketches have in common.
double containmentDistance(const Sketch& a, const Sketch& b, std::size_t shared);

}  // namespace morvale::compare
