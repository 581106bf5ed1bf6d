// The one way a failed system call becomes a message: what could not be done,
// then the system's reason.
#pragma once

#include <string>

namespace morvale {

// "WHAT: reason" with the reason from errno value `errnum` ("unknown error" for 0).
std::string systemErrorText(const std::string& what, int errnum);

}  // namespace morvale
