// Small text formatting helpers shared by the core.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace mdlFunctionStandard {

// The number in decimal, with a leading "-" when negative.
platform::Text decimal(std::int64_t number);
// A count, page number or other number that is never negative, in decimal.
platform::Text count(std::uint64_t number);

// The number as at least `width` digits, zero-padded.
platform::Text digits(int number, int width);

// The number in decimal with "," between each group of three digits ("1,234,567").
platform::Text grouped(std::uint64_t number);

// Whether two texts are equal when the letters A-Z count as a-z, as names of files and of a
// database's tables are compared; other characters must match exactly.
bool sameIgnoringAsciiCase(const platform::Text& a, const platform::Text& b);

}  // namespace mdlFunctionStandard
