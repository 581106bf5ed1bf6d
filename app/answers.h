// Reading the user's answers: every prompt's value is read and checked here, whole
// tokens only. A number out of its setting's range, or not a number, gets one line
// naming it and the allowed range and the prompt is asked again; the end of input
// ends the dialogue.
#pragma once

#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>

#include "scan/settings.h"

namespace morvale {

// Thrown when standard input ends before an answer was given.
struct InputEnded : std::runtime_error {
  InputEnded() : std::runtime_error("Input ended before all answers were given") {}
};

class Answers {
 public:
  Answers(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

  // Prints `prompt` and reads a whole number allowed for `setting` (k = `tupleSize`),
  // asking again until one is given.
  int integer(const std::string& prompt, Setting setting, int tupleSize = 1);
  // Prints `prompt` and reads a real number, asking again until one is given.
  double real(const std::string& prompt);
  // Prints `prompt` and reads one word (a file name, taken whole).
  std::string word(const std::string& prompt);
  // Reads a menu choice; any answer that is not a whole number in int gives 0.
  int menuChoice();
  // Reads one non-blank character, folded to lower case.
  char yesNo();

  // Prints `text`, a line end and flushes.
  void say(const std::string& text);

 private:
  std::string nextToken();
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace morvale
