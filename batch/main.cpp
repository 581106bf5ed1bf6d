// morvale-run: finds genomic islands in one or many genome files, driven by
// options, into an output folder; reproducible with --seed, parallel with -t.
#include <unistd.h>

#include <iostream>
#include <new>

#include "base/console.h"
#include "base/precondition.h"
#include "base/stop_signal.h"
#include "base/version.h"
#include "batch/batch_run.h"
#include "batch/collect.h"
#include "batch/options.h"
#include "batch/sample_sheet.h"

int main(int argc, char** argv) {
  morvale::BatchOptions options;
  std::string error;
  switch (morvale::parseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    case morvale::ParsedCommand::kHelp:
      std::cout << morvale::helpText();
      return 0;
    case morvale::ParsedCommand::kVersion:
      std::cout << "morvale-run " << morvale::programVersion() << std::endl;
      return 0;
    case morvale::ParsedCommand::kUsageError:
      std::cerr << "morvale-run: " << error << std::endl;
      return 2;
    case morvale::ParsedCommand::kRun:
      break;
  }
  morvale::installStopHandlers(morvale::StopMode::kGraceful);
  morvale::SystemConsole console;
  if (options.checkSheet)
    return morvale::printSampleSheet(*options.checkSheet, std::cout, std::cerr);
  if (options.collect) {
    const std::string sheet = options.genomes.empty() ? "" : options.genomes[0];
    return morvale::collectSummary(*options.collect, sheet, {options.clusterDistance},
                                   console.now(), std::cerr);
  }
  try {
    return morvale::runBatch(options, console, std::cerr, isatty(STDERR_FILENO));
  } catch (const std::bad_alloc&) {
    std::cerr << "morvale-run: out of memory: the chosen k, pool size or genome needs more memory "
                 "than this machine can give"
              << std::endl;
  } catch (const morvale::PreconditionError& e) {
    std::cerr << "morvale-run: internal error: " << e.what() << std::endl;
  }
  return 1;
}
