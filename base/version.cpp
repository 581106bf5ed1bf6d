#include "base/version.h"

namespace morvale {

const char* programVersion() {
  return MORVALE_VERSION;
}

}  // namespace morvale
