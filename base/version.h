// The program's version, as the build names it.
#pragma once

namespace morvale {

// "MAJOR.MINOR.PATCH".
const char* programVersion();

}  // namespace morvale
