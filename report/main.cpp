// morvale-report: turns one Morvale run's files into genome-browser tracks (BED,
// GFF3), a table of islands, a picture of the scores along the genome (SVG) and,
// on request, a page to explore them (HTML).
#include <iostream>
#include <string>
#include <vector>

#include "base/version.h"
#include "report/report.h"
#include "report/report_command.h"
#include "report/report_files.h"

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
  morvale::report::Inputs in;
  if (!morvale::report::loadInputs(a.genome, a.scores, a.islands, in, error)) {
    std::cerr << "morvale-report: " << error << std::endl;
    return 1;
  }
  for (const std::string& warning : in.warnings)
    std::cerr << "morvale-report: " << a.genome << ": warning: " << warning << std::endl;
  const std::string& p = a.prefix;
  error = morvale::report::writeReportFiles(
      in, {p + ".bed", p + ".gff3", p + ".tsv", p + ".svg", a.html, p + ".genes.tsv"});
  if (!error.empty()) {
    std::cerr << "morvale-report: " << error << std::endl;
    return 1;
  }
  if (!in.suggestion.empty()) std::cerr << in.suggestion << std::endl;
  morvale::report::writeTable(std::cout, in);
  return 0;
}
