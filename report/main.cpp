// morvale-report: turns one Morvale run's files into genome-browser tracks (BED,
// GFF3), a table of islands, a picture of the scores along the genome (SVG) and,
// on request, a page to explore them (HTML).
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/version.h"
#include "report/report.h"
#include "report/report_command.h"
#include "report/report_files.h"

namespace {

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
  morvale::report::ReportArgs a;
  std::string error;
  switch (
      morvale::report::parseReportArgs(std::vector<std::string>(argv + 1, argv + argc), a, error)) {
    case morvale::report::ReportParsed::kHelp:
      std::cout << morvale::plainHelp(morvale::report::reportHelp());
      return 0;
    case morvale::report::ReportParsed::kVersion:
      std::cout << "morvale-report " << morvale::programVersion() << std::endl;
      return 0;
    case morvale::report::ReportParsed::kUsageError:
      std::cerr << "morvale-report: " << error << std::endl;
      return 2;
    case morvale::report::ReportParsed::kRun:
      break;
  }
  const std::string& p = a.prefix;
  const morvale::report::ReportFiles outputs = {p + ".bed", p + ".gff3", p + ".tsv",
                                                p + ".svg", a.html,      p + ".genes.tsv"};
  for (const std::string* output :
       {&outputs.bed, &outputs.gff3, &outputs.tsv, &outputs.svg, &outputs.html, &outputs.genes}) {
    for (const std::string* input : {&a.genome, &a.scores, &a.islands}) {
      if (!output->empty() && sameFile(*output, *input)) {
        std::cerr << "morvale-report: the output " << *output << " is the input " << *input
                  << "; choose another output name" << std::endl;
        return 2;
      }
    }
  }
  morvale::report::LoadedRun in;
  if (!morvale::report::loadInputs(a.genome, a.scores, a.islands, in, error)) {
    std::cerr << "morvale-report: " << error << std::endl;
    return 1;
  }
  for (const std::string& warning : in.warnings)
    std::cerr << "morvale-report: " << a.genome << ": warning: " << warning << std::endl;
  error = morvale::report::writeReportFiles(in, outputs);
  if (!error.empty()) {
    std::cerr << "morvale-report: " << error << std::endl;
    return 1;
  }
  if (!in.figures.suggestion.empty()) std::cerr << in.figures.suggestion << std::endl;
  morvale::report::writeTable(std::cout, in);
  return 0;
}
