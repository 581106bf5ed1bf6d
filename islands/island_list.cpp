#include "islands/island_list.h"

#include <cerrno>

#include "base/system_error.h"
#include "base/tokens.h"
#include "base/whole_file.h"
#include "islands/result_files.h"

namespace morvale {

namespace {
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

IslandList readIslandList(const std::string& fileName, std::ostream& errors) {
  IslandList list;
  std::string text;
  if (!readWholeFile(fileName, text)) {
    list.errorNumber = errno;
    reportUnableToOpen(errors);
    reportUnableToOpen(errors);
    return list;
  }
  list.opened = true;
  for (std::size_t at = 0;;) {
    while (at < text.size() && isBlank(text[at])) ++at;
    const std::size_t from = at;
    while (at < text.size() && !isBlank(text[at])) ++at;
    if (from == at) break;
    const std::string_view token = std::string_view(text).substr(from, at - from);
    long long value = 0;
    if (!parseInteger(token, value) || value < INT32_MIN || value > INT32_MAX) {
      list.stoppedAt = std::string(token.substr(0, 40));
      break;
    }
    list.values.push_back(value);
  }
  return list;
}

std::string islandListSummary(const IslandList& list, const std::string& fileName) {
  const std::size_t islands = list.values.size() / 2;
  std::string line = "Read " + std::to_string(islands) + (islands == 1 ? " island" : " islands") +
                     " from " + fileName;
  if (list.stoppedAt.empty()) return line + " (to its end)";
  return line + "; reading stopped at \"" + list.stoppedAt + "\", value " +
         std::to_string(list.values.size() + 1) + " of the file, and the rest is ignored";
}

std::string islandListProblem(IslandList& list, const std::string& fileName,
                              std::int64_t genomeLength) {
  const std::string file = "The islands file " + fileName;
  if (!list.opened)
    return systemErrorText("Cannot open the islands file " + fileName, list.errorNumber);
  std::vector<std::int64_t>& v = list.values;
  if (v.empty()) {
    return file + " holds no islands" +
           (list.stoppedAt.empty()
                ? std::string()
                : " (its first value \"" + list.stoppedAt + "\" is not a whole number)");
  }
  if (v.size() % 2 != 0) {
    return file + " holds an odd number of values: the last start " + std::to_string(v.back()) +
           " has no end";
  }
  if (v.back() >= genomeLength) v.back() = genomeLength;
  for (std::size_t i = 0; i < v.size(); i += 2) {
    const std::int64_t start = v[i];
    const std::int64_t end = v[i + 1];
    std::string why;
    if (start < 0) {
      why = "starts before the genome";
    } else if (start >= genomeLength) {
      why = "starts beyond the end of the genome (" + std::to_string(genomeLength) + " letters)";
    } else if (start >= end) {
      why = "does not start below its end";
    } else if (i > 0 && start < v[i - 1]) {
      why = "overlaps or precedes the island before it";
    }
    if (!why.empty()) {
      return "Island " + std::to_string(i / 2 + 1) + " (" + std::to_string(start) + ", " +
             std::to_string(end) + ") of the islands file " + fileName + " " + why;
    }
  }
  return "";
}

}  // namespace morvale
