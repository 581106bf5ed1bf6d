#include "report/html_index.h"

#include "base/tokens.h"
#include "report/html_assets.h"

namespace morvale::report {

namespace {
bool numeric(const std::string& text) {
  double v = 0;
  return parseReal(text, v);
}
}  // namespace

void writeHtmlIndex(std::ostream& out, const std::string& title,
                    const std::vector<std::string>& columns, const std::vector<IndexRow>& rows) {
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>"
      << htmlEscaped(title) << "</title>\n<link rel=\"icon\" href=\"data:,\">\n<style>"
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
  out << "</tbody></table>\n<script>" << kSortScript
      << "sortableTables();</script>\n</body></html>\n";
}

}  // namespace morvale::report
