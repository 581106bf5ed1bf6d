#include "base/number_text.h"

#include <cstdio>

namespace morvale {

std::string numberText(const char* format, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

}  // namespace morvale
