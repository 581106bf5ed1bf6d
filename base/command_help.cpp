#include "base/command_help.h"

#include <algorithm>

namespace morvale {

namespace {

constexpr std::size_t kWidth = 79;

// `words` wrapped at kWidth; the first line starts with `first` (padded to
// `indent`), the others with `indent` spaces.
std::string wrapped(std::string first, const std::string& words, std::size_t indent) {
  std::string text;
  std::string line = std::move(first);
  line.resize(std::max(line.size(), indent), ' ');
  std::size_t from = 0;
  while (from < words.size()) {
    std::size_t take = words.size() - from;
    if (line.size() + take > kWidth) {
      const std::size_t space = words.rfind(' ', from + kWidth - line.size());
      if (space != std::string::npos && space > from) take = space - from;
    }
    text += line + words.substr(from, take) + "\n";
    from += take + 1;
    line = std::string(indent, ' ');
  }
  return text.empty() ? line + "\n" : text;
}

// Paragraphs separated by an empty line, each wrapped.
std::string paragraphs(const std::string& text) {
  std::string out;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find("\n\n", from);
    if (end == std::string::npos) end = text.size();
    out += (out.empty() ? "" : "\n") + wrapped("", text.substr(from, end - from), 0);
    from = end + 2;
  }
  return out;
}

}  // namespace

std::string optionNames(const OptionHelp& o) {
  std::string names = o.shortName;
  if (!o.longName.empty()) names += (names.empty() ? "" : ", ") + o.longName;
  return o.value.empty() ? names : names + " " + o.value;
}

std::string plainHelp(const CommandHelp& h) {
  std::string text = "usage: " + h.name + " " + h.synopsis + "\n\n" + paragraphs(h.description);
  if (!h.options.empty()) text += "\noptions (default in brackets):\n";
  for (const OptionHelp& o : h.options) {
    std::string words = o.help;
    if (!o.defaultText.empty()) words += " [" + o.defaultText + "]";
    if (!o.needs.empty() && !o.fileValue) words += "; " + o.needs;
    const std::string indent = o.shortName.empty() && !o.longName.empty() ? "      " : "  ";
    std::string names = indent + optionNames(o);
    if (names.size() + 2 > 28) {
      text += names + "\n";
      names.clear();
    }
    text += wrapped(names, words, 28);
  }
  if (!h.files.empty()) text += "\n" + wrapped("", h.filesIntro, 0);
  for (const HelpItem& f : h.files) {
    std::string name = "  " + f.name;
    if (name.size() + 2 > 28) {
      text += name + "\n";
      name.clear();
    }
    text += wrapped(name, f.text, 28);
  }
  if (!h.examples.empty()) text += "\nexamples:\n";
  for (const HelpItem& e : h.examples) text += "  " + e.name + "\n" + wrapped("", e.text, 6);
  if (!h.exitStatus.empty()) text += "\n" + wrapped("", "Exit status: " + h.exitStatus, 0);
  return text;
}

}  // namespace morvale
