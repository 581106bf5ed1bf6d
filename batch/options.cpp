#include "batch/options.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <thread>

#include "base/tokens.h"

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

std::vector<OptionRow> optionRows(std::vector<PendingInteger>& pending) {
  const BatchOptions d;
  std::vector<OptionRow> rows;
  // The range table names each setting's option: "--name", or "-x" for a short one.
  const auto integer = [&](Setting setting, const char* help, int* (*field)(BatchOptions&),
                           int defaultValue) {
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
  rows.push_back({"", "--cutoff", "P", "first-phase cut-off: a p-value, or auto for the rank rule",
                  "auto", "auto or a number", [](BatchOptions& o, const std::string& text) {
                    if (text == "auto") {
                      o.cutoffByRank = true;
                    } else if (parseReal(text, o.cutoff)) {
                      o.cutoffByRank = false;
                    } else {
                      return std::string("enter auto or a number such as 1e-10");
                    }
                    return std::string();
                  }});
  rows.push_back({"", "--auto-fraction", "F",
                  "with --cutoff auto: the fraction of the windows tested whose smallest "
                  "p-values set the cut-off",
                  "0.02", "a number above 0, at most 1",
                  [](BatchOptions& o, const std::string& text) {
                    double f = 0;
                    if (!parseReal(text, f) || !(f > 0 && f <= 1))
                      return std::string("enter a number above 0, at most 1");
                    o.autoFraction = f;
                    return std::string();
                  }});
  rows.push_back(
      {"", rangeOf(Setting::kOverlapCount).option, "N",
       "overlapping windows a first-phase island needs", std::to_string(d.minWindows),
       "a whole number", [&pending](BatchOptions& o, const std::string& text) {
         pending.push_back({Setting::kOverlapCount, "--min-windows", text, &o.minWindows});
         return std::string();
       }});
  rows.push_back({"", "--sensitive", "",
                  "preset for natural islands: measure 3, k 2, --auto-fraction 0.05, "
                  "--min-windows 4 (options given explicitly still win)",
                  "", "", [](BatchOptions& o, const std::string&) {
                    o.sensitive = true;
                    return std::string();
                  }});
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
  rows.push_back({"", "--refine-cutoff", "P", "refinement p-value cut-off", "0.05", "a number",
                  [](BatchOptions& o, const std::string& text) {
                    return parseReal(text, o.refinement.cutoff)
                               ? std::string()
                               : std::string("enter a number such as 0.05");
                  }});
  rows.push_back({"", "--no-refine", "", "stop after the first phase", "", "",
                  [](BatchOptions& o, const std::string&) {
                    o.refine = false;
                    return std::string();
                  }});
  rows.push_back({"-o", "--out", "DIR", "output folder, one subfolder per genome", d.out, "",
                  [](BatchOptions& o, const std::string& text) {
                    if (text.empty()) return std::string("enter a folder name");
                    o.out = text;
                    return std::string();
                  }});
  rows.push_back({"", "--force", "", "replace the results in an existing output folder", "", "",
                  [](BatchOptions& o, const std::string&) {
                    o.force = true;
                    return std::string();
                  }});
  rows.push_back({"", "--annotation", "FILE",
                  "GFF3 annotation (plain or gzip) for FASTA genomes; GenBank and EMBL files "
                  "carry their own",
                  "", "", [](BatchOptions& o, const std::string& text) {
                    if (text.empty()) return std::string("enter a file name");
                    o.annotation = text;
                    return std::string();
                  }});
  rows.push_back({"", "--per-record", "",
                  "scan each record (chromosome, plasmid, contig) of a genome on its own", "", "",
                  [](BatchOptions& o, const std::string&) {
                    o.perRecord = true;
                    return std::string();
                  }});
  rows.push_back({"", "--min-record", "N", "letters a record needs to be scanned with --per-record",
                  std::to_string(d.minRecord), "a whole number of at least 1",
                  [](BatchOptions& o, const std::string& text) {
                    long long v = 0;
                    std::string complaint = wholeNumber(text, 1, INT64_MAX, v);
                    o.minRecord = v;
                    return complaint.empty() ? complaint : "enter a whole number of at least 1";
                  }});
  rows.push_back({"", "--name", "NAME", "the folder and summary name of the one genome given",
                  "its file's", "", [](BatchOptions& o, const std::string& text) {
                    if (text.empty() || text == "." || text == ".." ||
                        text.find('/') != std::string::npos)
                      return std::string("enter a name without '/'");
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
                  "write DIR/summary.tsv and DIR/index.html from the rows in DIR/jobs/*.tsv, in "
                  "the order of the name column of the sample sheet if one is given",
                  "", "", [](BatchOptions& o, const std::string& text) {
                    if (text.empty()) return std::string("enter a folder name");
                    o.collect = text;
                    return std::string();
                  }});
  rows.push_back({"", "--seed", "N", "seed of every random draw", "the clock", "0 to 4294967295",
                  [](BatchOptions& o, const std::string& text) {
                    long long v = 0;
                    std::string complaint = wholeNumber(text, 0, 4294967295LL, v);
                    o.seed = static_cast<unsigned>(v);
                    o.seedGiven = true;
                    return complaint;
                  }});
  rows.push_back({"-t", "--threads", "N", "threads", "the machine's cores", "1 to 1024",
                  [](BatchOptions& o, const std::string& text) {
                    long long v = 0;
                    std::string complaint = wholeNumber(text, 1, 1024, v);
                    o.threads = static_cast<int>(v);
                    return complaint;
                  }});
  rows.push_back({"-q", "--quiet", "", "no progress on standard error", "", "",
                  [](BatchOptions& o, const std::string&) {
                    o.quiet = true;
                    return std::string();
                  }});
  return rows;
}

}  // namespace

Parsed parseOptions(const std::vector<std::string>& args, BatchOptions& o, std::string& error) {
  std::vector<PendingInteger> pending;
  const std::vector<OptionRow> rows = optionRows(pending);
  o.threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  std::set<std::string> given;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      o.genomes.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") return Parsed::kHelp;
    if (arg == "--version") return Parsed::kVersion;
    // --name=value, --name value, -x value, -xvalue
    std::string name = arg;
    std::string value;
    bool inlineValue = false;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      name = arg.substr(0, arg.find('='));
      value = arg.substr(arg.find('=') + 1);
      inlineValue = true;
    } else if (arg.rfind("--", 0) != 0 && arg.size() > 2) {
      name = arg.substr(0, 2);
      value = arg.substr(2);
      inlineValue = true;
    }
    const OptionRow* row = nullptr;
    for (const OptionRow& s : rows)
      if (name == s.longName || (*s.shortName && name == s.shortName)) row = &s;
    if (!row) {
      error = "unknown option " + arg + " (see --help)";
      return Parsed::kUsageError;
    }
    if (!*row->value && inlineValue) {
      error = name + " takes no value";
      return Parsed::kUsageError;
    }
    if (*row->value && !inlineValue) {
      if (i + 1 == args.size()) {
        error = name + " needs a value: " + row->range;
        return Parsed::kUsageError;
      }
      value = args[++i];
    }
    given.insert(*row->longName ? row->longName : row->shortName);
    const std::string complaint = row->apply(o, value);
    if (!complaint.empty()) {
      error = name + " " + value + ": " + complaint;
      return Parsed::kUsageError;
    }
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
      return Parsed::kUsageError;
    }
    *p.field = static_cast<int>(v);
  }
  if (!o.collect.empty()) {
    if (o.genomes.size() > 1) error = "--collect takes at most one sample sheet";
  } else if (o.genomes.empty()) {
    error = "no genome file given (see --help)";
  } else if ((!o.name.empty() || !o.rowFile.empty()) && o.genomes.size() > 1) {
    error = "--name and --row take one genome file";
  }
  return error.empty() ? Parsed::kRun : Parsed::kUsageError;
}

std::string helpText() {
  std::vector<PendingInteger> unused;
  std::string text =
      "usage: morvale-run [options] GENOME...\n"
      "       morvale-run --collect DIR [SHEET]\n"
      "\n"
      "Finds genomic islands in each GENOME (FASTA or plain sequence, optionally gzip-\n"
      "compressed): the first phase, then the refinement, into DIR/NAME/ for a genome\n"
      "file NAME.fasta, with tracks (islands.bed, islands.gff3), a table (islands.tsv)\n"
      "and a picture (scores.svg) of the final islands, and DIR/summary.tsv.\n"
      "\n"
      "options (default in brackets; k is the k-mer length):\n";
  for (const OptionRow& s : optionRows(unused)) {
    std::string names =
        *s.shortName ? std::string(s.shortName) + (*s.longName ? ", " : "") : std::string("    ");
    names += std::string(s.longName) + (*s.value ? std::string(" ") + s.value : "");
    std::string words = s.help;
    if (!s.defaultText.empty()) words += " [" + s.defaultText + "]";
    if (!s.range.empty() && *s.value) words += "; " + s.range;
    // Two columns, the second wrapped at 79 characters.
    std::string line = "  " + names;
    line.resize(std::max<std::size_t>(line.size() + 2, 28), ' ');
    std::size_t from = 0;
    while (from < words.size()) {
      std::size_t take = words.size() - from;
      if (line.size() + take > 79) {
        take = words.rfind(' ', from + 79 - line.size()) - from;
      }
      text += line + words.substr(from, take) + "\n";
      from += take + 1;
      line = std::string(28, ' ');
    }
  }
  text +=
      "  -h, --help                show this text\n"
      "      --version             show the version\n"
      "\n"
      "Progress and errors go to standard error. Exit status: 0 when every genome\n"
      "completed, 1 when any failed (the others still complete), 2 for a usage error,\n"
      "130 after Ctrl-C (finished genomes stay whole).\n";
  return text;
}

}  // namespace morvale
