// The sample-position draw of both scans, on the C library's generator.
#pragma once

#include <cstdint>

namespace morvale {

// rand() times 124 in 32-bit two's-complement arithmetic (the product wraps and is
// read as signed), widened to 64 bits, remainder by `modulus` with the sign of the
// product: the result lies in (-modulus, modulus). Requires modulus >= 1
// (PreconditionError otherwise, before anything is drawn).
std::int64_t Rand(std::int64_t modulus);

// The wrapped product alone, for a given rand() value.
std::int32_t wrappedTimes124(int randValue);

}  // namespace morvale
