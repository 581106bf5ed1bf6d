// Fuzz inputs reach the readers as files, as they do in the program.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace morvale::fuzz {

// A per-process scratch file name under /tmp.
inline std::string scratchFile(const char* what) {
  return "/tmp/morvale-fuzz-" + std::to_string(getpid()) + "-" + what;
}

// Writes the fuzzer's bytes to `name`.
inline void writeInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) __builtin_trap();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

}  // namespace morvale::fuzz
