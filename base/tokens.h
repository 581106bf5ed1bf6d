// Reading numbers from whole white-space-delimited tokens: the one parser behind
// the dialogue's answers, the command-line options, island lists and window-score
// rows. A token is accepted only when the number fills it completely.
#pragma once

#include <string_view>

namespace morvale {

// A decimal integer with an optional sign that fills the token and fits in long long.
bool parseInteger(std::string_view token, long long& value);

// A finite decimal real (digits, sign, point, exponent) that fills the token; no
// hexadecimal, nan or inf.
bool parseReal(std::string_view token, double& value);

}  // namespace morvale
