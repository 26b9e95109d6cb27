#pragma once

#include <cstdint>
#include <string>

namespace tarvino {

// Plain decimal digits, a leading minus sign when negative; no grouping,
// no leading zeros or blanks.
std::string wholeToText(std::int64_t value);
std::string wholeToText(std::uint64_t value);

} // namespace tarvino
