#include "batch/index_page.h"

#include "base/tokens.h"
#include "report/html_assets.h"

namespace morvale {

using report::htmlEscaped;
using report::kPageStyle;
using report::kSortScript;
using report::urlEncoded;

namespace {
bool numeric(const std::string& text) {
  double v = 0;
  return parseReal(text, v);
}
}  // namespace

void writeHtmlIndex(std::ostream& out, const std::string& title,
                    const std::vector<std::string>& columns, const std::vector<IndexRow>& rows,
                    const std::string& sections) {
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>"
      << htmlEscaped(title) << "</title>\n<link rel=\"icon\" href=\"data:,\">\n<style>\n"
      << kPageStyle << "</style></head>\n<body>\n<h1>" << htmlEscaped(title) << "</h1>\n"
      << "<p>" << rows.size() << " genomes; click a genome for its page, a heading to sort.</p>\n"
      << "<table id=\"summary\" class=\"sortable\"><thead><tr><th class=\"text\">genome</th>";
  // A column is sorted as numbers when every row holds a number (or NA) there.
  std::vector<bool> number(columns.size(), true);
  for (const IndexRow& row : rows)
    for (std::size_t c = 0; c < columns.size() && c < row.cells.size(); ++c)
      number[c] = number[c] && (numeric(row.cells[c]) || row.cells[c] == "NA");
  for (std::size_t c = 0; c < columns.size(); ++c) {
    out << "<th" << (number[c] ? " data-type=\"number\"" : " class=\"text\"") << ">"
        << htmlEscaped(columns[c]) << "</th>";
  }
  out << "</tr></thead><tbody>\n";
  for (const IndexRow& row : rows) {
    out << "<tr><td class=\"text\">";
    if (row.page.empty()) {
      out << htmlEscaped(row.genome);
    } else {
      out << "<a href=\"" << htmlEscaped(urlEncoded(row.page)) << "\">" << htmlEscaped(row.genome)
          << "</a>";
    }
    out << "</td>";
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::string cell = c < row.cells.size() ? row.cells[c] : "";
      if (number[c]) {
        out << "<td data-value=\"" << (numeric(cell) ? cell : "-1") << "\">";
      } else {
        out << "<td class=\"text\">";
      }
      out << htmlEscaped(cell) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</tbody></table>\n"
      << sections << "<script>\n"
      << kSortScript << "sortableTables();</script>\n</body></html>\n";
}

void writePresenceTable(std::ostream& out, const std::vector<std::string>& genomes,
                        const std::vector<PresenceRow>& rows) {
  out << "<section><h2>Islands across genomes</h2>\n<p>" << rows.size()
      << " clusters of similar islands (island_clusters.tsv); a filled cell counts the genome's "
         "islands in the cluster and opens the first on the genome's page.</p>\n"
         "<table id=\"presence\" class=\"sortable\"><thead><tr>"
         "<th data-type=\"number\">cluster</th><th data-type=\"number\">islands</th>"
         "<th data-type=\"number\">genomes</th>";
  for (const std::string& g : genomes)
    out << "<th data-type=\"number\">" << htmlEscaped(g) << "</th>";
  out << "<th class=\"text\">coordinates</th></tr></thead><tbody>\n";
  for (const PresenceRow& row : rows) {
    int carriers = 0;
    for (const PresenceCell& cell : row.cells) carriers += cell.islands > 0;
    out << "<tr><td data-value=\"" << row.cluster << "\">" << row.cluster
        << "</td><td data-value=\"" << row.places.size() << "\">" << row.places.size()
        << "</td><td data-value=\"" << carriers << "\">" << carriers << "</td>";
    for (std::size_t g = 0; g < genomes.size(); ++g) {
      const PresenceCell cell = g < row.cells.size() ? row.cells[g] : PresenceCell();
      out << "<td data-value=\"" << cell.islands << "\""
          << (cell.islands ? " class=\"filled\"" : "") << ">";
      if (cell.islands && !cell.page.empty()) {
        out << "<a href=\"" << htmlEscaped(urlEncoded(cell.page) + "#" + urlEncoded(cell.row))
            << "\">" << cell.islands << "</a>";
      } else if (cell.islands) {
        out << cell.islands;
      }
      out << "</td>";
    }
    out << "<td class=\"text\"><details><summary>" << row.places.size()
        << (row.places.size() == 1 ? " island" : " islands") << "</summary><ul>";
    for (const std::string& place : row.places) out << "<li>" << htmlEscaped(place) << "</li>";
    out << "</ul></details></td></tr>\n";
  }
  out << "</tbody></table></section>\n";
}

}  // namespace morvale
