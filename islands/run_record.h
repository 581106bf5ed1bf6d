// The run record beside a phase's result files: one "key<TAB>value" line per fact
// of the run (program, times, genome, every setting, the seed). It is written last
// and whole (to a temporary name, then renamed), so its presence means the result
// files beside it are complete; a phase removes it before touching them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace morvale {

// The keys of a run record; the settings' keys come from the range table (scan/settings).
namespace record_key {
constexpr const char* kProgram = "program";  // "morvale VERSION"
constexpr const char* kPhase = "phase";      // kFirstPhase, kRefinementPhase or kNaturalPhase
constexpr const char* kStarted = "started";  // local time, "YYYY-MM-DD HH:MM:SS"
constexpr const char* kFinished = "finished";
constexpr const char* kGenomeFile = "genome_file";
constexpr const char* kGenomeLength = "genome_length";  // letters A, C, G, T
constexpr const char* kGenomeRecords = "genome_records";
constexpr const char* kGenomeMd5 = "genome_md5";  // of the letters (genome/letters_checksum)
constexpr const char* kSeed = "seed";
constexpr const char* kWindowsTested = "windows_tested";
constexpr const char* kCutoff = "cutoff";           // a p-value, or "none"
constexpr const char* kCutoffRule = "cutoff_rule";  // kRankRule or kGivenRule
constexpr const char* kAutoFraction = "auto_fraction";
constexpr const char* kCutoffRank = "cutoff_rank";
constexpr const char* kIslandsFile = "islands_file";  // the refinement's input
constexpr const char* kIslands = "islands";
// The natural scan's: its settings, and how its cut-off split the windows.
constexpr const char* kNaturalWindow = "natural_window";
constexpr const char* kNaturalStep = "natural_step";
constexpr const char* kNaturalMinLength = "natural_min_length";
constexpr const char* kWindowsCalled = "windows_called";  // in the upper group
constexpr const char* kLowerMean = "lower_mean";          // the two groups' mean scores
constexpr const char* kUpperMean = "upper_mean";
constexpr const char* kNoIslands = "no_islands";    // why there are none, when a guard says so
constexpr const char* kGeneCaller = "gene_caller";  // "Prodigal 2.6.3" with --call-genes
}  // namespace record_key

// Values of the phase and cut-off-rule keys.
constexpr const char* kFirstPhase = "first";
constexpr const char* kRefinementPhase = "refinement";
constexpr const char* kNaturalPhase = "natural";
constexpr const char* kRankRule = "rank";
constexpr const char* kGivenRule = "given";

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
