#include "bench_support.h"

#include <fstream>

namespace morvale::bench {

const std::string& benchGenomeFile() {
  static const std::string name = [] {
    const std::string file = "/tmp/morvale-bench-5mbp.fa";
    std::string dna = randomDna(5000000, 1);
    const std::string planted = randomDna(20000, 2, 0.2);
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
