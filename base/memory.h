// Checking a large allocation against the machine's memory before making it.
#pragma once

#include <string>

namespace morvale {

// Physical memory of this machine in bytes (0 when it cannot be told).
double physicalMemoryBytes();

// "" when `bytes` fit in physical memory (or it cannot be told); otherwise one
// line: "WHAT needs X GiB of memory, more than this machine can give (Y GiB in
// all); ADVICE".
std::string memoryShortfall(double bytes, const std::string& what, const std::string& advice);

}  // namespace morvale
