// The index page of a run of several genomes: the summary as a sortable table,
// each genome linking to its own page. One self-contained HTML file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morvale::report {

// One row of the index: the summary's columns as text; `page` is the genome's page
// relative to the index as a file path ("" for none; the link encodes it); numeric columns sort by
// their value.
struct IndexRow {
  std::string genome;
  std::string page;
  std::vector<std::string> cells;  // in the order of the column names
};

void writeHtmlIndex(std::ostream& out, const std::string& title,
                    const std::vector<std::string>& columns, const std::vector<IndexRow>& rows);

}  // namespace morvale::report
