// Writing a run's report files in one go: tracks, table, picture and page, any of
// them, each named by its path.
#pragma once

#include <string>

#include "report/loaded_run.h"

namespace morvale::report {

// Paths of the files to write; "" leaves a file out.
struct ReportFiles {
  std::string bed;
  std::string gff3;
  std::string tsv;
  std::string svg;
  std::string html;      // links to the other files, relative to its own folder
  std::string genes;     // written only for an annotated genome
  std::string evidence;  // written only when its genes were scored
};

// Writes the files, each whole (a temporary file beside it, renamed), once each of
// them is known to be writable (its folder there and writable, no folder in its
// place): a path that is not writes none of them. A file that cannot be written
// completely even so is not left behind, nor its temporary file. "" when done, else
// one line naming the file that could not be written and the system's reason.
std::string writeReportFiles(const LoadedRun& in, const ReportFiles& files);

}  // namespace morvale::report
