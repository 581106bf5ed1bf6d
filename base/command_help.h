// The help of a command in parts (synopsis, description, options, files, exit
// status, examples), so that --help, the manual page and the shell completion are
// made from the same words and cannot disagree.
#pragma once

#include <string>
#include <vector>

namespace morvale {

// One option as the help shows it.
struct OptionHelp {
  std::string shortName;             // "-k", or "" for none
  std::string longName;              // "--window", or "" for none
  std::string value;                 // the word for its value ("N", "DIR"), "" for a flag
  std::string help;                  // what it does
  std::string defaultText;           // "" when it has none
  std::string needs;                 // what its value must be ("a whole number from 1 to 8")
  bool fileValue = false;            // its value names a file or folder
  std::vector<std::string> choices;  // the words its value may be, when they are few
};

// A thing and what it is: a file and what it holds, an example and what it does.
struct HelpItem {
  std::string name;
  std::string text;
};

struct CommandHelp {
  std::string name;         // "morvale-run"
  std::string summary;      // one line, lower case: "find genomic islands in ..."
  std::string synopsis;     // after the name: "[options] GENOME..."
  std::string description;  // paragraphs, separated by an empty line
  std::vector<OptionHelp> options;
  std::string filesIntro;  // the sentence before the files ("" when none)
  std::vector<HelpItem> files;
  std::string exitStatus;
  std::vector<HelpItem> examples;  // command lines
};

// What a command line asks for: a run, the help, the version, or nothing (a usage
// error, told in one line).
enum class ParsedCommand { kRun, kHelp, kVersion, kUsageError };

// The plain text of --help: usage, description, options in two columns, files,
// examples and exit status, wrapped at 79 characters.
std::string plainHelp(const CommandHelp& help);

// "-k, --window N": an option's names and value word as the help lists them.
std::string optionNames(const OptionHelp& option);

}  // namespace morvale
