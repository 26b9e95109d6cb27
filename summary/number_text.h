#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvino {

// Plain decimal digits, a leading minus sign when negative; no grouping,
// no leading zeros or blanks.
std::string wholeToText(std::int64_t value);
std::string wholeToText(std::uint64_t value);

// A single-precision number with at most 7 significant digits, no trailing
// zeros and no separator when whole; decimalSeparator stands for the point.
// Very large or small magnitudes take an exponent, as in 1.234568E+07.
std::string singleToText(float value, std::string_view decimalSeparator);

// Converts to a 32-bit whole number, rounding halves to even. Throws
// std::runtime_error naming `what` when the value is not a number or lies
// outside the 32-bit range.
std::int32_t toWhole32(double value, std::string_view what);

// Converts to single precision. Throws std::runtime_error naming `what` when
// the value is not finite or too large for single precision.
float toSingle(double value, std::string_view what);

} // namespace tarvino
