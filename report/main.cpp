// morvale-report: turns one Morvale run's files into genome-browser tracks (BED,
// GFF3), a table of islands, a picture of the scores along the genome (SVG) and,
// on request, a page to explore them (HTML).
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "report/report.h"
#include "report/report_files.h"

namespace {

const char* const kUsage =
    "usage: morvale-report [--html PAGE.html] GENOME SCORES ISLANDS [OUTPUT_PREFIX]\n"
    "\n"
    "Reads a genome file, a window-score file and an islands file of either phase of\n"
    "a Morvale run and writes PREFIX.bed, PREFIX.gff3, PREFIX.tsv and PREFIX.svg\n"
    "(PREFIX defaults to the islands file's name without .txt), and with --html a\n"
    "page that shows them all; then prints the islands table. Positions are each\n"
    "island's record and its positions within the record as it stands in the file.\n"
    "With the run record beside the window-score file, the genome must be the run's;\n"
    "for a first-phase file the cut-off suggested by rank is printed on standard\n"
    "error and drawn.\n"
    "Exit status: 0 done, 1 an input file could not be used, 2 wrong arguments (also\n"
    "an output that is one of the inputs).\n";

// True when `output` names the same file as `input`: the same device and inode when
// both exist, else the same path once made absolute and normal.
bool sameFile(const std::string& output, const std::string& input) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::exists(output, ec) && fs::exists(input, ec)) return fs::equivalent(output, input, ec);
  const fs::path a = fs::absolute(output, ec).lexically_normal();
  const fs::path b = fs::absolute(input, ec).lexically_normal();
  return a == b;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  std::string html;
  if (args.size() >= 2 && args[0] == "--html") {
    html = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() < 3 || args.size() > 4 || args[0].rfind("-", 0) == 0) {
    std::cerr << kUsage;
    return 2;
  }
  std::string prefix = args.size() == 4 ? args[3] : args[2];
  if (args.size() == 3 && prefix.size() > 4 && prefix.compare(prefix.size() - 4, 4, ".txt") == 0)
    prefix.resize(prefix.size() - 4);
  const std::vector<std::string> outputs = {prefix + ".bed", prefix + ".gff3", prefix + ".tsv",
                                            prefix + ".svg", html};
  for (const std::string& output : outputs) {
    for (std::size_t i = 0; i < 3 && !output.empty(); ++i) {
      if (sameFile(output, args[i])) {
        std::cerr << "morvale-report: the output " << output << " is the input " << args[i]
                  << "; choose another output name" << std::endl;
        return 2;
      }
    }
  }
  morvale::report::Inputs in;
  std::string error;
  if (!morvale::report::loadInputs(args[0], args[1], args[2], in, error)) {
    std::cerr << "morvale-report: " << error << std::endl;
    return 1;
  }
  error = morvale::report::writeReportFiles(
      in, {outputs[0], outputs[1], outputs[2], outputs[3], outputs[4], ""});
  if (!error.empty()) {
    std::cerr << "morvale-report: " << error << std::endl;
    return 1;
  }
  if (!in.suggestion.empty()) std::cerr << in.suggestion << std::endl;
  morvale::report::writeTable(std::cout, in);
  return 0;
}
