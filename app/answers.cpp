#include "app/answers.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace morvale {

namespace {

// Parses a whole decimal number that fills the token; false if it does not.
bool parseInteger(const std::string& token, long long& value) {
  if (token.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(token.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

bool parseReal(const std::string& token, double& value) {
  if (token.empty()) return false;
  char* end = nullptr;
  value = std::strtod(token.c_str(), &end);
  return *end == '\0' && std::isfinite(value);
}

}  // namespace

void Answers::say(const std::string& text) {
  out_ << text << std::endl;
}

std::string Answers::nextToken() {
  std::string token;
  if (!(in_ >> token)) throw InputEnded();
  return token;
}

int Answers::integer(const std::string& prompt, int low, int high) {
  for (;;) {
    say(prompt);
    const std::string token = nextToken();
    long long value = 0;
    if (parseInteger(token, value) && value >= low && value <= high) return static_cast<int>(value);
    std::string range = "a whole number";
    if (low > INT32_MIN && high == INT32_MAX) {
      range += " of at least " + std::to_string(low);
    } else if (low > INT32_MIN) {
      range += " from " + std::to_string(low) + " to " + std::to_string(high);
    }
    say("\"" + token + "\" is not accepted here: enter " + range + ".");
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

int Answers::menuChoice(int invalid) {
  long long value = 0;
  if (!parseInteger(nextToken(), value) || value < INT32_MIN || value > INT32_MAX) return invalid;
  return static_cast<int>(value);
}

char Answers::yesNo() {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(nextToken()[0])));
}

}  // namespace morvale
