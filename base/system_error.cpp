#include "base/system_error.h"

#include <cstring>

namespace morvale {

std::string systemErrorText(const std::string& what, int errnum) {
  return what + ": " + (errnum ? std::strerror(errnum) : "unknown error");
}

}  // namespace morvale
