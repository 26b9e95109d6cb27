// The ticker with arbitrary text and start positions.
#include "ticker.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

using namespace tarvino::ticker;

namespace {
// Well-formed UTF-8 (lead bytes with the right number of continuation bytes);
// overlong forms and surrogates do not matter here.
bool wellFormed(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    std::int16_t start = 0;
    std::memcpy(&start, data, 2);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t length = characterCount(text);
    try {
        const Tick tick = rotate(text, start);
        const std::size_t shown = characterCount(tick.text);
        const auto xs = static_cast<std::size_t>(start);
        if (static_cast<std::size_t>(tick.length) != length) std::abort();
        // Characters are counted as such only in well-formed text; in any text
        // no byte may be lost.
        if (wellFormed(text) && (xs > length ? shown != length : shown != length + 1)) std::abort();
        if (tick.next < 1 || (xs <= length && start < INT16_MAX && tick.next != start + 1))
            std::abort();
        if (xs > length && tick.next != 1) std::abort();
        // Every byte of the banner is kept: the text is a rotation plus one repeat.
        if (tick.text.size() < text.size()) std::abort();
    } catch (const std::invalid_argument&) {
        if (start >= 1) std::abort();
    }
    return 0;
}
