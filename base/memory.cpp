#include "base/memory.h"

#include <unistd.h>

#include "base/number_text.h"

namespace morvale {

double physicalMemoryBytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  return pages > 0 && pageSize > 0 ? static_cast<double>(pages) * pageSize : 0.0;
}

std::string memoryShortfall(double bytes, const std::string& what, const std::string& advice) {
  const double have = physicalMemoryBytes();
  if (have == 0.0 || bytes <= have) return "";
  const double gib = 1024.0 * 1024.0 * 1024.0;
  return what + " needs " + numberText("%.1f", bytes / gib) +
         " GiB of memory, more than this machine can give (" + numberText("%.1f", have / gib) +
         " GiB in all); " + advice;
}

}  // namespace morvale
