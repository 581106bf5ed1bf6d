#include "bench_support.h"

#include <fstream>
#include <random>

namespace morvale::bench {

std::string generatedDna(std::size_t length, unsigned seed, double gc) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  std::string s(length, 'a');
  for (char& c : s) {
    const double r = u(gen);
    c = r < gc / 2 ? 'g' : r < gc ? 'c' : r < gc + (1 - gc) / 2 ? 'a' : 't';
  }
  return s;
}

const std::string& benchGenomeFile() {
  static const std::string name = [] {
    const std::string file = "/tmp/morvale-bench-5mbp.fa";
    std::string dna = generatedDna(5000000, 1);
    const std::string planted = generatedDna(20000, 2, 0.2);
    for (std::size_t at = 250000; at + planted.size() < dna.size(); at += 500000)
      dna.replace(at, planted.size(), planted);
    std::ofstream out(file);
    out << ">generated 5 Mbp\n";
    for (std::size_t i = 0; i < dna.size(); i += 80) out << dna.substr(i, 80) << '\n';
    return file;
  }();
  return name;
}

QuietConsole::QuietConsole() : saved_(std::cout.rdbuf(&null_)) {
  setPlatform(this);
}

QuietConsole::~QuietConsole() {
  setPlatform(nullptr);
  std::cout.rdbuf(saved_);
}

}  // namespace morvale::bench
