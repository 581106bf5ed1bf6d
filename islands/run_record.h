// The run record beside a phase's result files: one "key<TAB>value" line per fact
// of the run (program, times, genome, every setting, the seed). It is written last
// and whole (to a temporary name, then renamed), so its presence means the result
// files beside it are complete; a phase removes it before touching them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace morvale {

class RunRecord {
 public:
  // Sets `key` (replacing an earlier value, keeping its place). Tabs and line ends
  // in the value become blanks.
  void set(const std::string& key, const std::string& value);
  void set(const std::string& key, long long value);
  // A real that reads back exactly, in its shortest form ("0.01", "1e-10").
  void setReal(const std::string& key, double value);

  // The value of `key`, "" when absent.
  std::string get(const std::string& key) const;
  bool has(const std::string& key) const;
  const std::vector<std::pair<std::string, std::string>>& entries() const { return entries_; }

  // Writes the record to `path` atomically; "" or one line saying why it failed.
  std::string write(const std::string& path) const;
  // Reads the record at `path`; false when it cannot be opened (errno set).
  static bool read(const std::string& path, RunRecord& record);

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
};

// The shortest "%.Ng" text of `value` that reads back exactly.
std::string exactRealText(double value);

}  // namespace morvale
