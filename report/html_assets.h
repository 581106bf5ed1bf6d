// What the HTML pages share: their style, their scripts (asset files in
// report/assets/, built in), and escaping for HTML text and attributes and for
// paths in links. Pages are single files that need nothing from a network.
#pragma once

#include <string>

namespace morvale::report {

// The style sheet of every page (assets/page.css).
extern const char kPageStyle[];

// Sorts every table.sortable by the column whose header is clicked (again for the
// other direction): numbers by a cell's data-value, text otherwise
// (assets/sort_tables.js).
extern const char kSortScript[];

// The plot of a run's page: zoom, pan, islands selectable, genes, linked to the
// islands table (assets/report_page.js).
extern const char kPageScript[];

// `text` with & < > " ' escaped for HTML text and attribute values.
std::string htmlEscaped(const std::string& text);

// A relative path as a URL path: every byte but letters, digits, '-', '.', '_',
// '~' and the '/' between names written as %XX (so '#', '%', '?', spaces and
// non-ASCII bytes name the file, not a fragment or a query). HTML-escape it too
// when it goes into an attribute.
std::string urlEncoded(const std::string& path);

// `text` as a JSON string literal, safe inside a <script> element.
std::string jsonString(const std::string& text);

}  // namespace morvale::report
