// Text in tab-separated tables, both ways: a value made one field (tabs and line
// ends become spaces, so every row keeps its columns and lines) and a line split
// into its fields.
#pragma once

#include <string>
#include <vector>

namespace morvale {

// `text` as one field: each tab, line feed and carriage return made a space.
std::string tsvField(std::string text);

// The fields of `line` between its tabs ("" gives one empty field); a carriage
// return at the end (a CRLF file) is dropped first.
std::vector<std::string> splitTabs(const std::string& line);

}  // namespace morvale
