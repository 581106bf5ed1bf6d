// morvale-report: turns one Morvale run's files into genome-browser tracks (BED,
// GFF3), a picture of the scores along the genome (SVG) and a table of islands.
#include <fstream>
#include <iostream>
#include <string>

#include "report/report.h"
#include "report/svg_plot.h"

namespace {

const char* const kUsage =
    "usage: morvale-report GENOME SCORES ISLANDS [OUTPUT_PREFIX]\n"
    "\n"
    "Reads a genome file, a window-score file and an islands file of either phase of\n"
    "a Morvale run and writes PREFIX.bed, PREFIX.gff3 and PREFIX.svg (PREFIX defaults\n"
    "to the islands file's name without .txt), then prints one line per island.\n"
    "Exit status: 0 done, 1 an input file could not be used, 2 wrong arguments.\n";

bool writeFile(const std::string& name,
               void (*write)(std::ostream&, const morvale::report::Inputs&),
               const morvale::report::Inputs& in) {
  std::ofstream out(name);
  write(out, in);
  out.close();
  if (!out) std::cerr << "morvale-report: cannot write " << name << std::endl;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--help") {
    std::cout << kUsage;
    return 0;
  }
  if (argc < 4 || argc > 5) {
    std::cerr << kUsage;
    return 2;
  }
  std::string prefix = argc == 5 ? argv[4] : argv[3];
  if (argc == 4 && prefix.size() > 4 && prefix.compare(prefix.size() - 4, 4, ".txt") == 0)
    prefix.resize(prefix.size() - 4);
  morvale::report::Inputs in;
  std::string error;
  if (!morvale::report::loadInputs(argv[1], argv[2], argv[3], in, error)) {
    std::cerr << "morvale-report: " << error << std::endl;
    return 1;
  }
  const bool written = writeFile(prefix + ".bed", morvale::report::writeBed, in) &&
                       writeFile(prefix + ".gff3", morvale::report::writeGff3, in) &&
                       writeFile(prefix + ".svg", morvale::report::writeSvg, in);
  if (!written) return 1;
  if (!in.suggestion.empty()) std::cerr << in.suggestion << std::endl;
  morvale::report::writeTable(std::cout, in);
  return 0;
}
