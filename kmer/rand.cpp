#include "kmer/rand.h"

#include <cstdlib>

#include "base/precondition.h"

namespace morvale {

std::int32_t wrappedTimes124(int randValue) {
  // Multiply in unsigned arithmetic, where wrapping is defined, then read the low
  // 32 bits as two's complement without a narrowing conversion.
  const std::uint32_t product = static_cast<std::uint32_t>(randValue) * 124u;
  return product < 0x80000000u ? static_cast<std::int32_t>(product)
                               : -static_cast<std::int32_t>(~product) - 1;
}

std::int64_t Rand(std::int64_t modulus) {
  require(modulus >= 1, "sample draw with a modulus below 1");
  return static_cast<std::int64_t>(wrappedTimes124(std::rand())) % modulus;
}

}  // namespace morvale
