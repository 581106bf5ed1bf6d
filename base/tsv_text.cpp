#include "base/tsv_text.h"

namespace morvale {

std::string tsvField(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields(1);
  const std::size_t end = !line.empty() && line.back() == '\r' ? line.size() - 1 : line.size();
  for (std::size_t i = 0; i < end; ++i) {
    if (line[i] == '\t')
      fields.emplace_back();
    else
      fields.back() += line[i];
  }
  return fields;
}

}  // namespace morvale
