// The index page of a run of several genomes: the summary as a sortable table,
// each genome linking to its own page. One self-contained HTML file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morvale {

// One row of the index: the summary's columns as text; `page` is the genome's page
// relative to the index as a file path ("" for none; the link encodes it); numeric columns sort by
// their value.
struct IndexRow {
  std::string genome;
  std::string page;
  std::vector<std::string> cells;  // in the order of the column names
};

// `sections`, HTML of whole sections (e.g. writePresenceTable's), goes under the table.
void writeHtmlIndex(std::ostream& out, const std::string& title,
                    const std::vector<std::string>& columns, const std::vector<IndexRow>& rows,
                    const std::string& sections = "");

// One genome's share of a cluster of islands: how many of its islands the cluster
// holds, and the first one's row on its page (a file path relative to the index,
// encoded in the link, and the row's id).
struct PresenceCell {
  int islands = 0;
  std::string page;
  std::string row;
};

// One cluster of islands across genomes.
struct PresenceRow {
  int cluster = 0;
  std::vector<PresenceCell> cells;  // in the order of the genomes
  std::vector<std::string> places;  // each island, "genome record:start-end"
};

// The presence table, clusters x genomes, as a sortable section: a filled cell links
// to the island's row on the genome's page; each cluster lists its islands.
void writePresenceTable(std::ostream& out, const std::vector<std::string>& genomes,
                        const std::vector<PresenceRow>& rows);

}  // namespace morvale
