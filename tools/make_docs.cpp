// morvale-docs: writes the manual pages of the three programs and the bash
// completion of morvale-run into a folder, at build time, from the same help parts
// and option table as their --help, so they cannot drift from the programs.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>

#include "base/command_help.h"
#include "base/version.h"
#include "batch/options.h"
#include "report/report_command.h"
#include "tools/roff_text.h"

namespace {

using morvale::CommandHelp;
using morvale::HelpItem;
using morvale::OptionHelp;
using morvale::roff;

// The dialogue has no options: its help is what it asks and what it writes.
CommandHelp dialogueHelp() {
  CommandHelp h;
  h.name = "morvale";
  h.summary = "find genomic islands in a bacterial genome, by a console dialogue";
  h.synopsis = "";
  h.description =
      "Finds genomic islands: stretches of a genome whose k-mer composition differs from "
      "the genome as a whole. It takes no options: it asks its questions on standard output "
      "and reads the answers from standard input, so a file of answers drives a whole run "
      "(morvale < answers.txt). It asks for one of six distance measures (absolute, "
      "Euclidean and Kullback-Leibler, each also with a Markov model), the k-mer length, "
      "the window sizes, the random samples and the genome file (FASTA or plain sequence), "
      "scans it (the first phase), chains the significant windows into islands for a "
      "p-value cut-off and a number of overlapping windows, as often as asked, and "
      "refines the islands on request with majority voting.\n\n"
      "A value out of range is named with the allowed range and asked again. Random "
      "samples are seeded by the clock; the seed is written in the run record. "
      "morvale-run does the same work driven by options.";
  h.filesIntro =
      "Written in the working folder, for measures 3 and 6 (1 and 4 write "
      "Absolute-first.txt, Ab-first-Islands.txt, ...; 2 and 5 Euclidean-first.txt, "
      "Eu-first-Islands.txt, ...):";
  h.files = {
      {"KL-first.txt", "first-phase window scores: window size, centre, p-value"},
      {"KL-first-Islands.txt", "first-phase islands: start, end (0-based offsets)"},
      {"KL-refinement.txt", "refinement window scores"},
      {"KL-refinement-Islands.txt", "refinement islands"},
      {"KL-first.run.txt",
       "the run record of a phase (and KL-refinement.run.txt): version, "
       "genome checksum, answers, seed"},
      {"morvale.lock", "held while a run uses the folder"},
  };
  h.examples = {
      {"mkdir run && cd run && morvale",
       "a dialogue in a folder of its own; the example genome is "
       "share/morvale/ecoli300k_with_inserts.fasta of the installation (/usr/share/morvale "
       "from the package), and example-answers.txt beside it holds the answers of the worked "
       "example of the README with that file as its genome: morvale < "
       "/usr/share/morvale/example-answers.txt runs it"},
      {"morvale < answers.txt > run.log", "a whole run from a file of answers, logged"},
  };
  h.exitStatus =
      "0 when the dialogue ends normally, 1 when nothing useful was done or something "
      "failed (a wrong menu answer, input that ends early, a refused input file, a result "
      "file that cannot be written, a folder in use).";
  return h;
}

std::string manPage(const CommandHelp& h, const std::string& seeAlso) {
  std::string upper;
  for (char c : h.name) upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  std::string page = ".TH " + roff(upper) + " 1 \"\" \"morvale " + morvale::programVersion() +
                     "\" \"User Commands\"\n.SH NAME\n" + roff(h.name) + " \\- " + roff(h.summary) +
                     "\n.SH SYNOPSIS\n.B " + roff(h.name) + "\n";
  if (!h.synopsis.empty()) page += roff(h.synopsis) + "\n";
  page += ".SH DESCRIPTION\n";
  for (std::size_t from = 0; from < h.description.size();) {
    const std::size_t end = std::min(h.description.find("\n\n", from), h.description.size());
    page += (from ? ".PP\n" : "") + roff(h.description.substr(from, end - from)) + "\n";
    from = end + 2;
  }
  page += ".SH OPTIONS\n";
  if (h.options.empty()) page += "None: the dialogue asks for every setting.\n";
  for (const OptionHelp& o : h.options) {
    std::string names;
    for (const std::string* n : {&o.shortName, &o.longName})
      if (!n->empty())
        names += (names.empty() ? "" : ", ") + std::string("\\fB") + roff(*n) + "\\fR";
    if (!o.value.empty()) names += " \\fI" + roff(o.value) + "\\fR";
    std::string words = o.help;
    if (!o.defaultText.empty()) words += " [" + o.defaultText + "]";
    if (!o.needs.empty() && !o.fileValue) words += "; " + o.needs;
    page += ".TP\n" + names + "\n" + roff(words) + ".\n";
  }
  page += ".SH FILES\n" + roff(h.filesIntro) + "\n";
  for (const HelpItem& f : h.files) page += ".TP\n.I " + roff(f.name) + "\n" + roff(f.text) + ".\n";
  page += ".SH EXIT STATUS\n" + roff(h.exitStatus) + "\n.SH EXAMPLES\n";
  for (const HelpItem& e : h.examples)
    page += ".PP\n.nf\n.RS\n" + roff(e.name) + "\n.RE\n.fi\n" + roff(e.text) + ".\n";
  return page + ".SH SEE ALSO\n" + seeAlso + "\n";
}

// The completion of morvale-run: option names after '-', the choices of an
// option's value where it has them, folders for a folder, files otherwise.
std::string bashCompletion(const CommandHelp& h) {
  const std::string function = "_morvale_run";
  std::string all, folders, files, others;
  std::string choices;
  for (const OptionHelp& o : h.options) {
    std::string names;
    for (const std::string* n : {&o.shortName, &o.longName})
      if (!n->empty()) names += (names.empty() ? "" : "|") + *n;
    for (const std::string* n : {&o.shortName, &o.longName})
      if (!n->empty()) all += (all.empty() ? "" : " ") + *n;
    if (o.value.empty()) continue;
    if (!o.choices.empty()) {
      std::string words;
      for (const std::string& c : o.choices) words += (words.empty() ? "" : " ") + c;
      choices +=
          "    " + names + ") COMPREPLY=($(compgen -W \"" + words + "\" -- \"$cur\")); return ;;\n";
    } else if (o.value == "DIR") {
      folders += (folders.empty() ? "" : "|") + names;
    } else if (o.fileValue) {
      files += (files.empty() ? "" : "|") + names;
    } else {
      others += (others.empty() ? "" : "|") + names;
    }
  }
  std::string text =
      "# bash completion for " + h.name + " (made by morvale-docs from its option table)\n" +
      function +
      "() {\n  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
      "  case $prev in\n" +
      choices;
  if (!folders.empty())
    text += "    " + folders + ") COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n";
  if (!files.empty())
    text += "    " + files + ") COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n";
  if (!others.empty()) text += "    " + others + ") COMPREPLY=(); return ;;\n";
  text += "  esac\n  if [[ $cur == -* ]]; then\n    COMPREPLY=($(compgen -W \"" + all +
          "\" -- \"$cur\"))\n  else\n    COMPREPLY=($(compgen -f -- \"$cur\"))  # genome files\n"
          "  fi\n}\ncomplete -o filenames -F " +
          function + " " + h.name + "\n";
  return text;
}

bool write(const std::string& path, const std::string& text) {
  std::ofstream out(path);
  out << text;
  out.close();
  if (!out) std::cerr << "morvale-docs: cannot write " << path << std::endl;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: morvale-docs FOLDER" << std::endl;
    return 2;
  }
  const std::string folder = argv[1];
  const CommandHelp run = morvale::commandHelp();
  const CommandHelp report = morvale::report::reportHelp();
  const bool done =
      write(folder + "/morvale.1",
            manPage(dialogueHelp(), ".BR morvale\\-run (1),\n.BR morvale\\-report (1)")) &&
      write(folder + "/morvale-run.1",
            manPage(run, ".BR morvale (1),\n.BR morvale\\-report (1)")) &&
      write(folder + "/morvale-report.1",
            manPage(report, ".BR morvale (1),\n.BR morvale\\-run (1)")) &&
      write(folder + "/morvale-run.bash", bashCompletion(run));
  return done ? 0 : 1;
}
