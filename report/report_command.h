// The command line of morvale-report: its arguments, checked with one line naming
// the one that is wrong, and its help in parts (for --help and the manual page).
#pragma once

#include <string>
#include <vector>

#include "base/command_help.h"

namespace morvale::report {

struct ReportArgs {
  std::string html;  // the page to write, "" for none
  std::string genome, scores, islands;
  std::string prefix;  // of the files written: the islands file's name without .txt by default
};

// Reads the arguments. On a usage error `error` holds one line naming the argument
// that is wrong or missing.
ParsedCommand parseReportArgs(const std::vector<std::string>& args, ReportArgs& parsed,
                              std::string& error);

CommandHelp reportHelp();

}  // namespace morvale::report
