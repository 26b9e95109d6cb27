#include "number_text.h"

#include <array>
#include <charconv>

namespace tarvino {

namespace {
template <typename Int> std::string integerText(Int value) {
    std::array<char, 24> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)ec; // 24 characters hold every 64-bit value
    return std::string(buffer.data(), end);
}
} // namespace

std::string wholeToText(std::int64_t value) { return integerText(value); }
std::string wholeToText(std::uint64_t value) { return integerText(value); }

} // namespace tarvino
