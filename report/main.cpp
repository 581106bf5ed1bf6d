// morvale-report: turns one Morvale run's files into genome-browser tracks (BED,
// GFF3), a table of islands, a picture of the scores along the genome (SVG) and,
// on request, a page to explore them (HTML).
#include <iostream>
#include <string>
#include <vector>

#include "base/file_paths.h"
#include "base/version.h"
#include "report/loaded_run.h"
#include "report/report_command.h"
#include "report/report_files.h"
#include "report/tracks.h"

int main(int argc, char** argv) {
  morvale::report::ReportArgs a;
  std::string error;
  switch (
      morvale::report::parseReportArgs(std::vector<std::string>(argv + 1, argv + argc), a, error)) {
    case morvale::ParsedCommand::kHelp:
      std::cout << morvale::plainHelp(morvale::report::reportHelp());
      return 0;
    case morvale::ParsedCommand::kVersion:
      std::cout << "morvale-report " << morvale::programVersion() << std::endl;
      return 0;
    case morvale::ParsedCommand::kUsageError:
      std::cerr << "morvale-report: " << error << std::endl;
      return 2;
    case morvale::ParsedCommand::kRun:
      break;
  }
  const std::string& p = a.prefix;
  const morvale::report::ReportFiles outputs = {p + ".bed",         p + ".gff3", p + ".tsv",
                                                p + ".svg",         a.html,      p + ".genes.tsv",
                                                p + ".evidence.tsv"};
  for (const std::string* output : {&outputs.bed, &outputs.gff3, &outputs.tsv, &outputs.svg,
                                    &outputs.html, &outputs.genes, &outputs.evidence}) {
    for (const std::string* input : {&a.genome, &a.scores, &a.islands}) {
      if (!output->empty() && morvale::sameFile(*output, *input)) {
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
