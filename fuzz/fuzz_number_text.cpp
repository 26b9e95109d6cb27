// Number to text with arbitrary doubles and decimal separators.
#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

using namespace tarvino;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    double value = 0;
    std::memcpy(&value, data, 8);
    static const char* const separators[] = {".", ",", "\xD9\xAB", "'", " "};
    const std::string separator = separators[data[8] % 5];

    try {
        const std::int32_t whole = toWhole32(value, "value");
        if (std::fabs(static_cast<double>(whole) - value) > 0.5) std::abort();
    } catch (const std::runtime_error&) {
        if (std::isfinite(value) && std::fabs(value) < 2147483647.0) std::abort();
    }
    try {
        const float single = toSingle(value, "value");
        std::string text = singleToText(single, separator);
        if (text.size() > 20) std::abort();
        // Reading the text back gives the number to 7 significant digits.
        if (const auto at = text.find(separator); at != std::string::npos)
            text.replace(at, separator.size(), ".");
        float back = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
        if (ec != std::errc() || end != text.data() + text.size()) std::abort();
        if (std::fabs(back - single) > std::fabs(single) * 1e-6f + 1e-38f) std::abort();
        const std::string digits = wholeToText(static_cast<std::int64_t>(data[0]) - 128);
        if (digits.empty()) std::abort();
    } catch (const std::runtime_error&) {
        if (std::isfinite(value) && std::fabs(value) <= 3.4e38) std::abort();
    }
    return 0;
}
