#include "base/tokens.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

namespace morvale {

namespace {
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
}  // namespace

bool parseInteger(std::string_view token, long long& value) {
  if (token.empty()) return false;
  const std::size_t first = token[0] == '-' || token[0] == '+' ? 1 : 0;
  if (first == token.size()) return false;
  for (std::size_t i = first; i < token.size(); ++i)
    if (!isDigit(token[i])) return false;
  const std::string text(token);
  errno = 0;
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE) return false;
  value = v;
  return true;
}

bool parseReal(std::string_view token, double& value) {
  bool digit = false;
  for (char c : token) {
    digit = digit || isDigit(c);
    if (!(isDigit(c) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
  }
  if (!digit) return false;
  const std::string text(token);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

}  // namespace morvale
