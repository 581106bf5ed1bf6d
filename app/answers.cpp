#include "app/answers.h"

#include <cctype>
#include <climits>

#include "base/tokens.h"

namespace morvale {

void Answers::say(const std::string& text) {
  out_ << text << std::endl;
}

std::string Answers::nextToken() {
  std::string token;
  if (!(in_ >> token)) throw InputEnded();
  return token;
}

int Answers::integer(const std::string& prompt, Setting setting, int tupleSize) {
  for (;;) {
    say(prompt);
    const std::string token = nextToken();
    long long value = 0;
    if (parseInteger(token, value) && inRange(setting, value, tupleSize))
      return static_cast<int>(value);
    say("\"" + token + "\" is not accepted here: enter " + rangeText(setting, tupleSize) + ".");
  }
}

double Answers::real(const std::string& prompt) {
  for (;;) {
    say(prompt);
    const std::string token = nextToken();
    double value = 0.0;
    if (parseReal(token, value)) return value;
    say("\"" + token + "\" is not accepted here: enter a number such as 0.01 or 1e-5.");
  }
}

std::string Answers::word(const std::string& prompt) {
  say(prompt);
  return nextToken();
}

int Answers::menuChoice() {
  long long value = 0;
  if (!parseInteger(nextToken(), value) || value < INT_MIN || value > INT_MAX) return 0;
  return static_cast<int>(value);
}

char Answers::yesNo() {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(nextToken()[0])));
}

}  // namespace morvale
