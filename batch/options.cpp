#include "batch/options.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <thread>

#include "base/number_text.h"
#include "base/tokens.h"
#include "batch/output_layout.h"
#include "batch/sample_sheet.h"

namespace morvale {

namespace {

// One option: its names, the word for its value ("" for a flag), its help, its
// default as shown, and what it does with a value.
struct OptionRow {
  const char* shortName;  // "" for none
  const char* longName;
  const char* value;
  const char* help;
  std::string defaultText;
  std::string range;
  std::function<std::string(BatchOptions&, const std::string&)> apply;  // "" or the complaint
};

// An integer setting, checked once every option is read (a window's lower bound is k).
struct PendingInteger {
  Setting setting;
  std::string option;
  std::string text;
  int* field;
};

std::string wholeNumber(const std::string& text, long long low, long long high, long long& v) {
  if (parseInteger(text, v) && v >= low && v <= high) return "";
  return "enter a whole number from " + std::to_string(low) + " to " + std::to_string(high);
}

// What --name and a sheet's names must be.
constexpr const char* kNameRules =
    "a name of valid UTF-8 without '/', '\\', '{', '}' or control characters, not starting "
    "with '.' or ending in .tmp, not one the output folder keeps for itself";

// Where each whole-number setting is kept in the options.
using IntegerFields = std::vector<std::pair<Setting, int* (*)(BatchOptions&)>>;

std::vector<OptionRow> optionRows(std::vector<PendingInteger>& pending,
                                  IntegerFields* fields = nullptr) {
  const BatchOptions d;
  std::vector<OptionRow> rows;
  // A flag: the option sets `member` to `value`.
  const auto flag = [&rows](const char* shortName, const char* longName, const char* help,
                            bool BatchOptions::*member, bool value) {
    rows.push_back({shortName, longName, "", help, "", "",
                    [member, value](BatchOptions& o, const std::string&) {
                      o.*member = value;
                      return std::string();
                    }});
  };
  // The range table names each setting's option: "--name", or "-x" for a short one.
  const auto integer = [&](Setting setting, const char* help, int* (*field)(BatchOptions&),
                           int defaultValue) {
    if (fields) fields->emplace_back(setting, field);
    const std::string option = rangeOf(setting).option;
    const bool isLong = option.rfind("--", 0) == 0;
    rows.push_back({isLong ? "" : rangeOf(setting).option, isLong ? rangeOf(setting).option : "",
                    "N", help, std::to_string(defaultValue), rangeTextWithK(setting),
                    [&pending, setting, field](BatchOptions& o, const std::string& text) {
                      pending.push_back({setting, rangeOf(setting).option, text, field(o)});
                      return std::string();
                    }});
  };
  rows.push_back({"", "--measure", "M",
                  "distance measure: 1 abs, 2 euclid, 3 kl, 4 abs-markov, 5 euclid-markov, "
                  "6 kl-markov (number or name)",
                  "3", "1 to 6 or a name", [](BatchOptions& o, const std::string& text) {
                    long long v = 0;
                    const int named = measureOfName(text);
                    if (named) {
                      o.first.measure = named;
                    } else if (parseInteger(text, v) && v >= 1 && v <= 6) {
                      o.first.measure = static_cast<int>(v);
                    } else {
                      return std::string(
                          "enter 1 to 6 or abs, euclid, kl, abs-markov, "
                          "euclid-markov, kl-markov");
                    }
                    return std::string();
                  }});
  integer(
      Setting::kTupleSize, "k-mer length", [](BatchOptions& o) { return &o.first.tupleSize; },
      d.first.tupleSize);
  integer(
      Setting::kWindowSize, "first window size (letters)",
      [](BatchOptions& o) { return &o.first.windowSize; }, d.first.windowSize);
  integer(
      Setting::kPoolSize, "random samples drawn per window size",
      [](BatchOptions& o) { return &o.first.poolSize; }, d.first.poolSize);
  integer(
      Setting::kDrawCount, "samples each window is compared with",
      [](BatchOptions& o) { return &o.first.drawCount; }, d.first.drawCount);
  integer(
      Setting::kWindowStep, "step between windows (letters)",
      [](BatchOptions& o) { return &o.first.windowStep; }, d.first.windowStep);
  integer(
      Setting::kWindowIncrement, "growth of the window size",
      [](BatchOptions& o) { return &o.first.windowIncrement; }, d.first.windowIncrement);
  // A real-valued setting of the range table; its `word` (if the row has one) leaves
  // the value unset.
  const auto real = [&](Setting setting, const char* help, std::string defaultText,
                        void (*set)(BatchOptions&, std::optional<double>)) {
    rows.push_back({"", rangeOf(setting).option, "P", help, std::move(defaultText),
                    rangeText(setting, 0),
                    [setting, set](BatchOptions& o, const std::string& text) {
                      const SettingRange& r = rangeOf(setting);
                      double v = 0;
                      if (*r.word && text == r.word) {
                        set(o, std::nullopt);
                      } else if (parseReal(text, v) && inRealRange(setting, v)) {
                        set(o, v);
                      } else {
                        return "enter " + rangeText(setting, 0);
                      }
                      return std::string();
                    }});
  };
  real(Setting::kCutoff, "first-phase cut-off: a p-value, or auto for the rank rule", "auto",
       [](BatchOptions& o, std::optional<double> v) { o.cutoff = v; });
  real(Setting::kAutoFraction,
       "with --cutoff auto: the fraction of the windows tested whose smallest p-values set the "
       "cut-off",
       "0.02", [](BatchOptions& o, std::optional<double> v) { o.autoFraction = *v; });
  integer(
      Setting::kMinWindows, "overlapping windows a first-phase island needs",
      [](BatchOptions& o) { return &o.minWindows; }, d.minWindows);
  flag("", "--sensitive",
       "preset for natural islands: measure 3, k 2, --auto-fraction 0.05, "
       "--min-windows 4 (options given explicitly still win)",
       &BatchOptions::sensitive, true);
  integer(
      Setting::kRefineWindowSize, "refinement window size (letters)",
      [](BatchOptions& o) { return &o.refinement.windowSize; }, d.refinement.windowSize);
  integer(
      Setting::kRefinePoolSize, "refinement random samples",
      [](BatchOptions& o) { return &o.refinement.poolSize; }, d.refinement.poolSize);
  integer(
      Setting::kRefineDrawCount, "refinement samples per window",
      [](BatchOptions& o) { return &o.refinement.drawCount; }, d.refinement.drawCount);
  integer(
      Setting::kRefineWindowStep, "refinement step (letters)",
      [](BatchOptions& o) { return &o.refinement.windowStep; }, d.refinement.windowStep);
  integer(
      Setting::kScanCount, "scorings of each refinement window",
      [](BatchOptions& o) { return &o.refinement.scanCount; }, d.refinement.scanCount);
  integer(
      Setting::kVoteThreshold, "scorings that keep a refinement window",
      [](BatchOptions& o) { return &o.refinement.voteThreshold; }, d.refinement.voteThreshold);
  real(Setting::kRefineCutoff, "refinement p-value cut-off", "0.05",
       [](BatchOptions& o, std::optional<double> v) { o.refinement.cutoff = *v; });
  flag("", "--no-refine", "stop after the first phase", &BatchOptions::refine, false);
  flag("", "--natural",
       "run the natural scan instead of the two phases: a variable-order composition "
       "score per window, a cut-off fitted to the genome, islands from 1-kbp bins "
       "(for a genome's own, older islands; needs no seed)",
       &BatchOptions::natural, true);
  const auto naturalNumber = [&](const char* option, const char* help, std::int64_t low,
                                 std::int64_t high, std::int64_t defaultValue,
                                 void (*set)(BatchOptions&, std::int64_t)) {
    const std::string range =
        "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    rows.push_back({"", option, "N", help, std::to_string(defaultValue), range,
                    [low, high, set, range](BatchOptions& o, const std::string& text) {
                      long long v = 0;
                      if (!parseInteger(text, v) || v < low || v > high) return "enter " + range;
                      set(o, v);
                      return std::string();
                    }});
  };
  naturalNumber(
      "--natural-window", "with --natural: letters a window spans", natural::kShortestWindow,
      natural::kLongestWindow, d.naturalSettings.window,
      [](BatchOptions& o, std::int64_t v) { o.naturalSettings.window = static_cast<int>(v); });
  naturalNumber(
      "--natural-step", "with --natural: letters between the starts of neighbouring windows", 1,
      natural::kLongestWindow, d.naturalSettings.step,
      [](BatchOptions& o, std::int64_t v) { o.naturalSettings.step = static_cast<int>(v); });
  naturalNumber("--natural-min-length", "with --natural: the shortest island kept (letters)", 0,
                natural::kLongestIsland, d.naturalSettings.minLength,
                [](BatchOptions& o, std::int64_t v) { o.naturalSettings.minLength = v; });
  rows.push_back({"-o", "--out", "DIR", "output folder, one subfolder per genome", d.out,
                  "a folder name", [](BatchOptions& o, const std::string& text) {
                    if (text.empty()) return std::string("enter a folder name");
                    o.out = text;
                    return std::string();
                  }});
  flag("", "--force", "replace the results in an existing output folder", &BatchOptions::force,
       true);
  rows.push_back({"", "--annotation", "FILE",
                  "GFF3 annotation (plain or gzip) for FASTA genomes; GenBank and EMBL files "
                  "carry their own",
                  "", "a file name", [](BatchOptions& o, const std::string& text) {
                    if (text.empty()) return std::string("enter a file name");
                    o.annotation = text;
                    return std::string();
                  }});
  flag("", "--call-genes",
       "call the genes of a genome without annotation with Prodigal (Debian package "
       "prodigal, found on PATH), kept as genes.gff3; GenBank and EMBL files keep "
       "their own",
       &BatchOptions::callGenes, true);
  rows.push_back({"", "--atypical-fraction", "F",
                  "the fraction of an annotated genome's scored genes called atypical in "
                  "composition (evidence.tsv)",
                  numberText("%g", d.atypicalFraction), "a number above 0, at most 0.5",
                  [](BatchOptions& o, const std::string& text) {
                    double v = 0;
                    if (!parseReal(text, v) ||
                        !(v > kMinAtypicalFraction && v <= kMaxAtypicalFraction))
                      return std::string("enter a number above 0, at most 0.5");
                    o.atypicalFraction = v;
                    return std::string();
                  }});
  flag("", "--per-record", "scan each record (chromosome, plasmid, contig) of a genome on its own",
       &BatchOptions::perRecord, true);
  rows.push_back({"", "--min-record", "N", "letters a record needs to be scanned with --per-record",
                  std::to_string(d.minRecord), "a whole number of at least 1",
                  [](BatchOptions& o, const std::string& text) {
                    long long v = 0;
                    std::string complaint = wholeNumber(text, 1, INT64_MAX, v);
                    o.minRecord = v;
                    return complaint.empty() ? complaint : "enter a whole number of at least 1";
                  }});
  rows.push_back({"", "--cluster-distance", "D",
                  "with two genomes or more: islands at most this containment distance apart "
                  "share a cluster (island_clusters.tsv)",
                  numberText("%g", d.clusterDistance), "a number from 0 to 1",
                  [](BatchOptions& o, const std::string& text) {
                    double v = 0;
                    if (!parseReal(text, v) || !(v >= 0.0 && v <= 1.0))
                      return std::string("enter a number from 0 to 1");
                    o.clusterDistance = v;
                    return std::string();
                  }});
  rows.push_back({"", "--name", "NAME", "the folder and summary name of the one genome given",
                  "its file's", kNameRules, [](BatchOptions& o, const std::string& text) {
                    const std::string problem = nameProblem(text);
                    if (!problem.empty()) return problem;
                    o.name = text;
                    return std::string();
                  }});
  rows.push_back({"", "--row", "FILE",
                  "write the summary rows to FILE, not to DIR/summary.tsv, and lock only the "
                  "genome's folder: for jobs sharing DIR (see --collect)",
                  "", "", [](BatchOptions& o, const std::string& text) {
                    if (text.empty()) return std::string("enter a file name");
                    o.rowFile = text;
                    return std::string();
                  }});
  rows.push_back({"", "--collect", "DIR",
                  "write DIR/summary.tsv, DIR/index.html and DIR/island_clusters.tsv from the rows "
                  "in DIR/jobs/*.tsv, in the order of the name column of the sample sheet if one "
                  "is given",
                  "", "", [](BatchOptions& o, const std::string& text) {
                    if (text.empty()) return std::string("enter a folder name");
                    o.collect = text;
                    return std::string();
                  }});
  rows.push_back({"", "--check-sheet", "SHEET",
                  "check a workflow's sample sheet (and the options given with it) and print its "
                  "rows as name, genome, annotation; runs nothing",
                  "", "a file name", [](BatchOptions& o, const std::string& text) {
                    if (text.empty()) return std::string("enter a file name");
                    o.checkSheet = text;
                    return std::string();
                  }});
  rows.push_back({"", "--seed", "N", "seed of every random draw", "the clock",
                  "a whole number from 0 to 4294967295",
                  [](BatchOptions& o, const std::string& text) {
                    long long v = 0;
                    std::string complaint = wholeNumber(text, 0, 4294967295LL, v);
                    o.seed = static_cast<unsigned>(v);
                    return complaint;
                  }});
  rows.push_back({"-t", "--threads", "N", "threads", "the machine's cores",
                  "a whole number from 1 to 1024", [](BatchOptions& o, const std::string& text) {
                    long long v = 0;
                    std::string complaint = wholeNumber(text, 1, 1024, v);
                    o.threads = static_cast<int>(v);
                    return complaint;
                  }});
  flag("-q", "--quiet", "no progress on standard error", &BatchOptions::quiet, true);
  return rows;
}

}  // namespace

ParsedCommand parseOptions(const std::vector<std::string>& args, BatchOptions& o,
                           std::string& error) {
  std::vector<PendingInteger> pending;
  IntegerFields fields;
  const std::vector<OptionRow> rows = optionRows(pending, &fields);
  o.threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  std::set<std::string> given;
  const auto find = [&rows](const std::string& name) -> const OptionRow* {
    for (const OptionRow& s : rows)
      if (name == s.longName || (*s.shortName && name == s.shortName)) return &s;
    return nullptr;
  };
  // Applies `row` given as `name`; false with `error` set when its value is refused.
  const auto use = [&](const OptionRow& row, const std::string& name, const std::string& value) {
    given.insert(*row.longName ? row.longName : row.shortName);
    const std::string complaint = row.apply(o, value);
    if (!complaint.empty()) error = name + " " + value + ": " + complaint;
    return complaint.empty();
  };
  // The value after `name`, from the next argument; false when there is none.
  std::size_t i = 0;
  const auto nextValue = [&](const OptionRow& row, const std::string& name, std::string& value) {
    if (i + 1 == args.size()) {
      error = name + " needs " + row.range;
      return false;
    }
    value = args[++i];
    return true;
  };
  // Checking a sheet checks the options of its jobs: help, the version and a second
  // sheet are none of theirs.
  if (std::count(args.begin(), args.end(), "--check-sheet") > 1) {
    error = "--check-sheet may be given once";
    return ParsedCommand::kUsageError;
  }
  if (std::count(args.begin(), args.end(), "--check-sheet")) {
    for (const char* word : {"--help", "-h", "--version"}) {
      if (std::count(args.begin(), args.end(), word)) {
        error = std::string("with --check-sheet: ") + word + " is not an option of a genome's job";
        return ParsedCommand::kUsageError;
      }
    }
  }
  bool optionsEnded = false;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      o.genomes.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help") return ParsedCommand::kHelp;
    if (arg == "--version") return ParsedCommand::kVersion;
    if (arg.rfind("--", 0) == 0) {  // --name, --name value, --name=value
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(0, equals);
      const OptionRow* row = find(name);
      if (!row) {
        error = "unknown option " + name + " (see --help)";
        return ParsedCommand::kUsageError;
      }
      std::string value;
      if (equals != std::string::npos) {
        if (!*row->value) {
          error = name + " takes no value";
          return ParsedCommand::kUsageError;
        }
        value = arg.substr(equals + 1);
      } else if (*row->value && !nextValue(*row, name, value)) {
        return ParsedCommand::kUsageError;
      }
      if (!use(*row, name, value)) return ParsedCommand::kUsageError;
      continue;
    }
    // Short options, bundled: -q, -t 2, -t2, -qt 2, -qk3.
    for (std::size_t at = 1; at < arg.size(); ++at) {
      const std::string name = std::string("-") + arg[at];
      if (name == "-h") return ParsedCommand::kHelp;
      const OptionRow* row = find(name);
      if (!row) {
        error = "unknown option " + name + (arg.size() > 2 ? " in " + arg : "") + " (see --help)";
        return ParsedCommand::kUsageError;
      }
      std::string value = *row->value ? arg.substr(at + 1) : "";
      if (*row->value && value.empty() && !nextValue(*row, name, value))
        return ParsedCommand::kUsageError;
      if (!use(*row, name, value)) return ParsedCommand::kUsageError;
      if (*row->value) break;
    }
  }
  if (o.callGenes && o.annotation) {
    error = "--call-genes and --annotation both give the genes: choose one";
    return ParsedCommand::kUsageError;
  }
  // The natural scan and the two phases take settings of their own.
  for (const std::string& option : given) {
    const bool naturalOption = option.rfind("--natural-", 0) == 0;
    const bool phaseOption =
        option == "--sensitive" || option == "--no-refine" || option == "--measure" ||
        option == "--cutoff" || option == "--auto-fraction" || option == "--min-windows" ||
        option == "-k" || option == "--window" || option == "--pool" || option == "--draws" ||
        option == "--step" || option == "--increment" || option == "--scans" ||
        option == "--votes" || option.rfind("--refine-", 0) == 0;
    if (o.natural && phaseOption)
      error = option + " is a setting of the two phases, which --natural does not run";
    else if (!o.natural && naturalOption)
      error = option + " is a setting of the natural scan: give it with --natural";
    if (!error.empty()) return ParsedCommand::kUsageError;
  }
  if (o.natural && o.naturalSettings.step > o.naturalSettings.window) {
    error = "--natural-step " + std::to_string(o.naturalSettings.step) +
            ": enter at most the --natural-window value (" +
            std::to_string(o.naturalSettings.window) + "), so every letter is in a window";
    return ParsedCommand::kUsageError;
  }
  if (o.sensitive) {
    if (!given.count("--measure")) o.first.measure = 3;
    if (!given.count("-k")) o.first.tupleSize = 2;
    if (!given.count("--auto-fraction")) o.autoFraction = kSensitiveFraction;
    if (!given.count("--min-windows")) o.minWindows = 4;
  }
  // k first: the window sizes' lower bound is k.
  std::stable_partition(pending.begin(), pending.end(),
                        [](const PendingInteger& p) { return p.setting == Setting::kTupleSize; });
  for (const PendingInteger& p : pending) {
    long long v = 0;
    if (!parseInteger(p.text, v) || !inRange(p.setting, v, o.first.tupleSize)) {
      error = p.option + " " + p.text + ": enter " + rangeText(p.setting, o.first.tupleSize);
      return ParsedCommand::kUsageError;
    }
    *p.field = static_cast<int>(v);
  }
  // Bounds by another setting's value, given or not.
  for (const auto& bounded : fields) {
    const Setting limit = rangeOf(bounded.first).atMost;
    for (const auto& other : fields) {
      if (other.first != limit || *bounded.second(o) <= *other.second(o)) continue;
      error = rangeOf(bounded.first).option + std::string(" ") +
              std::to_string(*bounded.second(o)) + ": enter " +
              rangeText(bounded.first, o.first.tupleSize) + " (" +
              std::to_string(*other.second(o)) + ")";
      return ParsedCommand::kUsageError;
    }
  }
  if (std::count(o.genomes.begin(), o.genomes.end(), "-") > 1) {
    error = "- (the genome on standard input) may be given once";
    return ParsedCommand::kUsageError;
  }
  if (o.checkSheet) {
    for (const char* own : {"--out", "--name", "--row", "--collect", "--annotation"})
      if (given.count(own))
        error = std::string("with --check-sheet: ") + own +
                " is the workflow's own (the sheet's annotation column gives each genome's); "
                "leave it out of the options";
    if (!o.genomes.empty()) error = "--check-sheet takes no genome file";
  } else if (o.collect) {
    if (o.genomes.size() > 1) error = "--collect takes at most one sample sheet";
  } else if (o.genomes.empty()) {
    error = "no genome file given (see --help)";
  } else if ((o.name || o.rowFile) && o.genomes.size() > 1) {
    error = "--name and --row take one genome file";
  }
  return error.empty() ? ParsedCommand::kRun : ParsedCommand::kUsageError;
}

CommandHelp commandHelp() {
  CommandHelp h;
  h.name = "morvale-run";
  h.summary = "find genomic islands in genome files, driven by options";
  h.synopsis = "[options] GENOME...";
  h.description =
      "Finds genomic islands in each GENOME: FASTA, plain sequence, GenBank or EMBL, "
      "plain or gzip-compressed; - reads one from standard input. It runs the first phase "
      "(window k-mer profiles against random samples of the genome, a paired t-test, islands "
      "chained from the "
      "significant windows), then the refinement, into the folder DIR/NAME/ for a genome "
      "file NAME.fasta, and writes DIR/summary.tsv. GenBank and EMBL files bring their "
      "genes; --annotation gives them for a FASTA genome.\n\n"
      "Every setting has the range the morvale dialogue accepts (k is the k-mer length). "
      "--seed makes a run repeatable: the same seed gives the same files, whatever the "
      "number of threads. Progress and errors go to standard error.\n\n"
      "morvale-run --collect DIR [SHEET] runs no genome: it writes DIR/summary.tsv, "
      "DIR/index.html and DIR/island_clusters.tsv from the rows that workflow jobs (--name, "
      "--row) left in DIR/jobs/ and the genome folders they finished.";
  std::vector<PendingInteger> unused;
  for (const OptionRow& s : optionRows(unused)) {
    const std::string value = s.value;
    h.options.push_back({s.shortName,
                         s.longName,
                         value,
                         s.help,
                         s.defaultText,
                         *s.value ? s.range : "",
                         value == "DIR" || value == "FILE" || value == "SHEET",
                         {}});
    if (value == "M") {
      for (int m = 1; m <= 6; ++m) h.options.back().choices.push_back(std::to_string(m));
      for (int m = 1; m <= 6; ++m) h.options.back().choices.push_back(measureName(m));
    } else if (h.options.back().longName == "--cutoff") {
      h.options.back().choices = {"auto"};
    }
  }
  h.options.push_back({"-h", "--help", "", "show this text", "", "", false, {}});
  h.options.push_back({"", "--version", "", "show the version", "", "", false, {}});
  h.filesIntro =
      "A genome's folder DIR/NAME/ holds, for measures 3 and 6 (1 and 4 write "
      "Absolute-first.txt, Ab-first-Islands.txt, ...; 2 and 5 Euclidean-first.txt, "
      "Eu-first-Islands.txt, ...):";
  for (const layout::LayoutEntry& f : layout::genomeFolderEntries())
    h.files.push_back({f.name, f.what});
  for (const layout::LayoutEntry& f : layout::runFolderEntries()) {
    const bool folder = std::string(f.name) == layout::kJobsFolder;
    h.files.push_back({std::string("DIR/") + f.name + (folder ? "/" : ""), f.what});
  }
  h.examples = {
      {"morvale-run -o out --seed 1 genome.fasta",
       "both phases on one genome into out/genome/, repeatable with seed 1"},
      {"morvale-run -qt 2 -o out *.fna.gz",
       "many gzip-compressed genomes on two threads without progress; out/index.html "
       "lists them"},
      {"morvale-run --per-record --no-refine -o out assembly.gbk",
       "the first phase only, each long record of a GenBank file on its own"},
  };
  h.exitStatus =
      "0 when every genome completed or was skipped, 1 when any failed (the others still "
      "complete) or the summary could not be written, 2 for a usage error, 128 + the "
      "signal's number when stopped by one: 130 after Ctrl-C, 143 after SIGTERM, 129 after "
      "SIGHUP (finished genomes stay whole).";
  return h;
}

std::string helpText() {
  return plainHelp(commandHelp());
}

}  // namespace morvale
