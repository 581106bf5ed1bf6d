// Fuzzes morvale-run's option parser: the input's lines are the arguments; any of
// them gives a result, and a usage error one line that says what is wrong.
#include <cstdint>
#include <string>
#include <vector>

#include "batch/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  morvale::BatchOptions options;
  std::string error;
  const morvale::Parsed parsed = morvale::parseOptions(args, options, error);
  if (parsed == morvale::Parsed::kUsageError && error.empty()) __builtin_trap();
  return 0;
}
