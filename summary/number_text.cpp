#include "number_text.h"

#include "system_info.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace tarvino {

namespace {

template <typename Number> std::string numberText(Number value) {
    std::array<char, 24> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)ec; // 24 characters hold every 64-bit value
    return std::string(buffer.data(), end);
}

std::runtime_error conversionFailure(double value, std::string_view what, const char* into) {
    return std::runtime_error("cannot convert the " + std::string(what) + " (" + numberText(value) +
                              ") to " + into);
}

} // namespace

std::string wholeToText(std::int64_t value) {
    return numberText(value);
}
std::string wholeToText(std::uint64_t value) {
    return numberText(value);
}

std::string singleToText(float value, std::string_view decimalSeparator) {
    if (value == 0.0f) return "0"; // no "-0"
    std::array<char, 32> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::general, 7);
    (void)ec; // 32 characters hold every float at 7 digits
    std::string out;
    for (const char* c = buffer.data(); c != end; ++c) {
        if (*c == '.')
            out += decimalSeparator;
        else
            out += *c == 'e' ? 'E' : *c;
    }
    return out;
}

std::int32_t toWhole32(double value, std::string_view what) {
    // The default rounding mode rounds halves to even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::max())))
        throw conversionFailure(value, what, "a 32-bit whole number");
    return static_cast<std::int32_t>(rounded);
}

float toSingle(double value, std::string_view what) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        throw conversionFailure(value, what, "a single-precision number");
    return static_cast<float>(value);
}

double versionNumber(std::uint64_t major, std::uint64_t minor) {
    const std::string text = numberText(major) + "." + numberText(minor);
    double version = 0;
    std::from_chars(text.data(), text.data() + text.size(), version);
    return version;
}

} // namespace tarvino
