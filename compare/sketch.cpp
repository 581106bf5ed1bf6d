#include "compare/sketch.h"

#include <algorithm>

namespace morvale::compare {

namespace {

int code(char c) {
  switch (c) {
    case 'A':
    case 'a':
      return 0;
    case 'C':
    case 'c':
      return 1;
    case 'G':
    case 'g':
      return 2;
    case 'T':
    case 't':
      return 3;
    default:
      return -1;
  }
}

// Sorts, drops repeats and keeps the `size` smallest.
void keepSmallest(std::vector<std::uint64_t>& hashes, std::size_t size) {
  std::sort(hashes.begin(), hashes.end());
  hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
  if (hashes.size() > size) hashes.resize(size);
}

// Hashes of sketch `s` up to `t`.
std::size_t upTo(const Sketch& s, std::uint64_t t) {
  return static_cast<std::size_t>(std::upper_bound(s.hashes.begin(), s.hashes.end(), t) -
                                  s.hashes.begin());
}

}  // namespace

std::uint64_t mixHash(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

Sketch sketchOf(std::string_view letters, int k, std::size_t size) {
  Sketch sketch;
  if (k < 1 || k > 32 || size == 0) return sketch;
  const unsigned shift = 2 * static_cast<unsigned>(k - 1);
  const std::uint64_t mask = k == 32 ? ~0ULL : (1ULL << (2 * k)) - 1;
  std::uint64_t forward = 0, reverse = 0;
  int run = 0;  // letters of A, C, G, T since the last other letter
  // Hashes at or above `bound` cannot enter the bottom s once s are held.
  std::uint64_t bound = ~0ULL;
  bool full = false;
  std::vector<std::uint64_t>& kept = sketch.hashes;
  for (char c : letters) {
    const int v = code(c);
    if (v < 0) {
      run = 0;
      continue;
    }
    forward = ((forward << 2) | static_cast<std::uint64_t>(v)) & mask;
    reverse = (reverse >> 2) | (static_cast<std::uint64_t>(3 - v) << shift);
    if (++run < k) continue;
    const std::uint64_t h = mixHash(std::min(forward, reverse));
    if (full && h >= bound) continue;
    kept.push_back(h);
    if (kept.size() >= 4 * size) {
      keepSmallest(kept, size);
      full = kept.size() == size;
      if (full) bound = kept.back();
    }
  }
  keepSmallest(kept, size);
  if (kept.size() < size) {
    sketch.distinct = static_cast<std::int64_t>(kept.size());
  } else {
    // (s - 1) / (largest / 2^64), in doubles; at least s.
    const double estimate = static_cast<double>(size - 1) * 18446744073709551616.0 /
                            (static_cast<double>(kept.back()) + 1.0);
    sketch.distinct =
        std::max(static_cast<std::int64_t>(size), static_cast<std::int64_t>(estimate));
  }
  return sketch;
}

double containmentDistance(const Sketch& a, const Sketch& b, std::size_t shared) {
  if (a.hashes.empty() || b.hashes.empty()) return 1.0;
  const std::uint64_t t = std::min(a.hashes.back(), b.hashes.back());
  const std::size_t fewer = std::min(upTo(a, t), upTo(b, t));
  return 1.0 - static_cast<double>(shared) / static_cast<double>(fewer);
}

double containmentDistance(const Sketch& a, const Sketch& b) {
  std::size_t shared = 0;
  for (auto i = a.hashes.begin(), j = b.hashes.begin();
       i != a.hashes.end() && j != b.hashes.end();) {
    if (*i < *j) {
      ++i;
    } else if (*j < *i) {
      ++j;
    } else {
      ++shared, ++i, ++j;
    }
  }
  return containmentDistance(a, b, shared);
}

}  // namespace morvale::compare
