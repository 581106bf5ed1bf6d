// A broken precondition of a library call: a caller's mistake, reported as an
// exception in every build (never an assert that a release build drops).
#pragma once

#include <stdexcept>
#include <string>

namespace morvale {

struct PreconditionError : std::logic_error {
  explicit PreconditionError(const std::string& what) : std::logic_error(what) {}
};

// Throws PreconditionError(`what`) unless `holds`.
inline void require(bool holds, const char* what) {
  if (!holds) throw PreconditionError(what);
}

}  // namespace morvale
