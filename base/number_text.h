// Numbers as text through a printf format, in one place.
#pragma once

#include <string>

namespace morvale {

// `value` formatted by the printf format `format` (one double conversion).
std::string numberText(const char* format, double value);

}  // namespace morvale
