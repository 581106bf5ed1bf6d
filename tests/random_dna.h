// Generated DNA for tests and benchmarks.
#pragma once

#include <random>
#include <string>

namespace morvale::testing {

// A random a/c/g/t string of `length` letters from a seeded generator; `gc` is the
// chance of g or c.
inline std::string randomDna(std::size_t length, unsigned seed, double gc = 0.5) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  std::string s(length, 'a');
  for (char& c : s) {
    const double r = u(gen);
    c = r < gc / 2 ? 'g' : r < gc ? 'c' : r < gc + (1 - gc) / 2 ? 'a' : 't';
  }
  return s;
}

}  // namespace morvale::testing
