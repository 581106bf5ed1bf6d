#include "report/html_assets.h"

#include <cstdio>

namespace morvale::report {

const char* const kPageStyle = R"CSS(
body { font: 14px/1.45 system-ui, sans-serif; margin: 1.5em auto; max-width: 1180px; color: #222;
  padding: 0 1em; }
h1 { font-size: 1.4em; margin-bottom: .2em; }
h2 { font-size: 1.1em; margin: 1.4em 0 .4em; }
dl.facts { display: grid; grid-template-columns: max-content 1fr; gap: .15em 1em; margin: 0; }
dl.facts dt { color: #555; }
dl.facts dd { margin: 0; }
.columns { display: flex; gap: 3em; flex-wrap: wrap; align-items: flex-start; }
#plot svg { width: 100%; height: auto; display: block; user-select: none; }
#plot { border: 1px solid #ddd; cursor: grab; }
#controls { margin: .4em 0; display: flex; gap: .4em; align-items: center; }
#controls button { min-width: 2.2em; }
#range { margin-left: 1em; color: #444; }
table { border-collapse: collapse; width: 100%; }
th, td { padding: .25em .6em; border-bottom: 1px solid #e4e4e4; text-align: right; }
th:first-child, td:first-child, th.text, td.text { text-align: left; }
table.sortable th { cursor: pointer; background: #f4f4f4; white-space: nowrap; }
table.sortable th[aria-sort=ascending]::after { content: " \25B2"; }
table.sortable th[aria-sort=descending]::after { content: " \25BC"; }
tr.selected td, tr:target td { background: #ffe7a8; }
tbody tr { cursor: pointer; }
.band { fill: #f6b6b6; fill-opacity: .6; cursor: pointer; }
.band.selected { fill: #f4a000; fill-opacity: .55; }
#status { color: #375; min-height: 1.4em; }
.links a { margin-right: 1em; }
details summary { cursor: pointer; color: #236; }
details ul { margin: .3em 0; padding-left: 1.2em; text-align: left; }
li.mobility { color: #b00; }
li.trna { color: #070; }
#presence td.filled { background: #cfe3f7; }
#presence td.filled a { display: block; }
)CSS";

const char* const kSortScript = R"JS(
function sortableTables() {
  document.querySelectorAll('table.sortable').forEach(function (table) {
    var heads = table.tHead.rows[0].cells;
    Array.prototype.forEach.call(heads, function (th, column) {
      th.addEventListener('click', function () {
        var ascending = th.getAttribute('aria-sort') !== 'ascending';
        Array.prototype.forEach.call(heads, function (h) { h.removeAttribute('aria-sort'); });
        th.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
        var numeric = th.dataset.type === 'number';
        var body = table.tBodies[0];
        var rows = Array.prototype.slice.call(body.rows);
        rows.sort(function (a, b) {
          var x = a.cells[column], y = b.cells[column];
          var order = numeric ? Number(x.dataset.value) - Number(y.dataset.value)
                              : x.textContent.localeCompare(y.textContent, undefined, {numeric: true});
          return ascending ? order : -order;
        });
        rows.forEach(function (row) { body.appendChild(row); });
      });
    });
  });
}
)JS";

std::string htmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string urlEncoded(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : path) {
    const unsigned char b = static_cast<unsigned char>(c);
    const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
                       b == '-' || b == '.' || b == '_' || b == '~' || b == '/';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace morvale::report
