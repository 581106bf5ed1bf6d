// The page of one genome's run: a single HTML file, its style and script inline,
// that shows the genome, the settings, the seed and the cut-off from the run
// records, the score plot (zoom and pan, islands selectable) and the islands table
// (sortable, coordinates to copy), with links to the tracks beside it. Without
// script it still shows the static plot and the table.
#pragma once

#include <ostream>
#include <string>

#include "report/loaded_run.h"

namespace morvale::report {

// The files the page links to, as paths relative to the page ("" for none).
struct PageLinks {
  std::string bed;
  std::string gff3;
  std::string tsv;
  std::string genes;
  std::string evidence;
};

void writeHtmlPage(std::ostream& out, const LoadedRun& in, const PageLinks& links);

}  // namespace morvale::report
