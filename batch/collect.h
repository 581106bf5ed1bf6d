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
// run"; one whose file cannot be read, "failed". Errors go to `err`, one line each.
// With two finished genome folders or more, their islands are clustered by
// `clusters` into folder/island_clusters.tsv and index.html's presence table.
// Returns the exit status: 0 every genome done, 1 any not done, the clusters or the
// summary not written, 2 a sheet without a name column or a folder without jobs.
int collectSummary(const std::string& folder, const std::string& sheet,
                   const compare::ClusterSettings& clusters, std::time_t now, std::ostream& err);

}  // namespace morvale
