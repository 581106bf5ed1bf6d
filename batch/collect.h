// The collecting mode of morvale-run: the genome folders that workflow jobs wrote side
// by side into one folder (each `morvale-run --name NAME --row DIR/jobs/NAME.tsv`) made
// into that folder's summary.tsv and index.html, as one morvale-run of them writes them.
#pragma once

#include <ctime>
#include <ostream>
#include <string>

#include "compare/island_clusters.h"

namespace morvale {

// Writes folder/summary.tsv (and index.html for two rows or more) from the jobs' rows,
// in the order of the `name` column of the tab-separated sample sheet, or of the row
// files' names in byte order when `sheet` is "". A genome without a row file is "not
// run"; one whose file cannot be read, "failed"; one whose file is empty or holds only
// its header, "failed" with the last line of its job's log. Errors go to `err`, one
// line each. With two finished genome folders or more, their islands are clustered
// by `clusters` into folder/island_clusters.tsv and index.html's presence table
// (with fewer, those of an earlier collect are removed). Returns the exit status: 0
// every genome done or skipped, 1 any not, the clusters or the summary not written,
// 2 a sheet refused or a folder without a jobs/ folder (nothing is written then).
int collectSummary(const std::string& folder, const std::string& sheet,
                   const compare::ClusterSettings& clusters, std::time_t now, std::ostream& err);

}  // namespace morvale
