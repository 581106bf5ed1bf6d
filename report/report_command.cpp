#include "report/report_command.h"

namespace morvale::report {

ParsedCommand parseReportArgs(const std::vector<std::string>& args, ReportArgs& a,
                              std::string& error) {
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      return ParsedCommand::kHelp;
    } else if (arg == "--version") {
      return ParsedCommand::kVersion;
    } else if (arg == "--html" || arg.rfind("--html=", 0) == 0) {
      a.html = arg == "--html" ? (i + 1 < args.size() ? args[++i] : "") : arg.substr(7);
      if (a.html.empty()) {
        error = "--html needs a file name for the page";
        return ParsedCommand::kUsageError;
      }
    } else {
      error = "unknown option " + arg + " (see --help)";
      return ParsedCommand::kUsageError;
    }
  }
  const char* const names[] = {"GENOME", "SCORES", "ISLANDS"};
  if (files.size() < 3) {
    error = std::string("missing ") + names[files.size()] + " (see --help)";
    return ParsedCommand::kUsageError;
  }
  if (files.size() > 4) {
    error = "one argument too many: " + files[4] + " (see --help)";
    return ParsedCommand::kUsageError;
  }
  a.genome = files[0];
  a.scores = files[1];
  a.islands = files[2];
  a.prefix = files.size() == 4 ? files[3] : files[2];
  if (files.size() == 3 && a.prefix.size() > 4 &&
      a.prefix.compare(a.prefix.size() - 4, 4, ".txt") == 0)
    a.prefix.resize(a.prefix.size() - 4);
  return ParsedCommand::kRun;
}

CommandHelp reportHelp() {
  CommandHelp h;
  h.name = "morvale-report";
  h.summary = "turn a Morvale run's files into tracks, a table, a picture and a page";
  h.synopsis = "[--html PAGE.html] GENOME SCORES ISLANDS [PREFIX]";
  h.description =
      "Reads a genome file (FASTA, plain sequence, GenBank or EMBL, plain or "
      "gzip-compressed), a window-score file and an islands file of either phase of a "
      "morvale or morvale-run run, writes tracks, a table and a picture of the islands, "
      "and prints the islands table. PREFIX defaults to the islands file's name without "
      ".txt. Positions are each island's record and its positions within the record as "
      "it stands in the file. A GenBank or EMBL genome brings its genes into the table.\n\n"
      "With the run record beside the window-score file (KL-first.run.txt for "
      "KL-first.txt) the genome must be the run's, by length and checksum; for a "
      "first-phase file the cut-off suggested by rank (the 2 % most significant windows) "
      "is printed on standard error and drawn in the picture.";
  h.options = {
      {"",
       "--html",
       "PAGE.html",
       "also write a page that shows it all, offline",
       "",
       "a file name for the page",
       true,
       {}},
      {"-h", "--help", "", "show this text", "", "", false, {}},
      {"", "--version", "", "show the version", "", "", false, {}},
  };
  h.filesIntro = "Files written (none of the inputs is changed):";
  h.files = {
      {"PREFIX.bed", "the islands as a BED track (0-based, end exclusive)"},
      {"PREFIX.gff3", "the same as GFF3 (1-based, inclusive)"},
      {"PREFIX.tsv", "the islands table, as printed"},
      {"PREFIX.svg", "the scores along the genome, with the islands and GC content"},
      {"PREFIX.genes.tsv",
       "the genes of each island with their composition (GenBank or EMBL genomes only)"},
      {"PREFIX.evidence.tsv",
       "each island's atypical genes, mobility genes and tRNA sites (GenBank or EMBL genomes "
       "only)"},
  };
  h.examples = {
      {"morvale-report genome.fasta KL-first.txt KL-first-Islands.txt first",
       "first.bed, first.gff3, first.tsv and first.svg of a dialogue's first phase"},
      {"morvale-report --html page.html genome.gbk.gz KL-refinement.txt "
       "KL-refinement-Islands.txt",
       "the refinement of an annotated genome, with its genes and a page"},
  };
  h.exitStatus =
      "0 done, 1 an input file could not be used or an output could not be written, each "
      "checked before any output is written (one line names it), 2 wrong arguments "
      "(one line names the argument).";
  return h;
}

}  // namespace morvale::report
