#include "islands/run_record.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "base/number_text.h"
#include "base/system_error.h"
#include "base/whole_file.h"

namespace morvale {

std::string exactRealText(double value) {
  for (const char* format : {"%.6g", "%.15g", "%.16g", "%.17g"}) {
    const std::string text = numberText(format, value);
    if (std::strtod(text.c_str(), nullptr) == value) return text;
  }
  return numberText("%.17g", value);
}

void RunRecord::set(const std::string& key, const std::string& value) {
  std::string clean = value;
  for (char& c : clean)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  for (auto& entry : entries_) {
    if (entry.first == key) {
      entry.second = clean;
      return;
    }
  }
  entries_.emplace_back(key, clean);
}

void RunRecord::set(const std::string& key, long long value) {
  set(key, std::to_string(value));
}

void RunRecord::setReal(const std::string& key, double value) {
  set(key, exactRealText(value));
}

std::string RunRecord::get(const std::string& key) const {
  for (const auto& entry : entries_)
    if (entry.first == key) return entry.second;
  return "";
}

bool RunRecord::has(const std::string& key) const {
  for (const auto& entry : entries_)
    if (entry.first == key) return true;
  return false;
}

std::string RunRecord::write(const std::string& path) const {
  std::string text;
  for (const auto& entry : entries_) text += entry.first + '\t' + entry.second + '\n';
  return writeWholeFile(path, text);
}

bool RunRecord::read(const std::string& path, RunRecord& record) {
  std::string text;
  if (!readWholeFile(path, text)) return false;
  record = RunRecord();
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    record.entries_.emplace_back(line.substr(0, tab), line.substr(tab + 1));
  }
  return true;
}

}  // namespace morvale
