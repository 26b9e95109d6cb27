#include "ticker.h"

#include <limits>
#include <stdexcept>
#include <utility>

namespace tarvino::ticker {

namespace {

// UTF-8 continuation bytes belong to the character before them; a stray one
// at the very start counts as a character of its own, so no byte is lost.
bool startsCharacter(std::string_view text, std::size_t at) {
    return at == 0 || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
}

// Byte offset of the character with 0-based index `index`; the text's size
// when the text has fewer characters.
std::size_t byteOffset(std::string_view text, std::size_t index) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!startsCharacter(text, i)) continue;
        if (seen++ == index) return i;
    }
    return text.size();
}

// At most `count` characters from the 1-based position `position`; empty when
// the position lies beyond the end.
std::string_view piece(std::string_view text, std::size_t position, std::size_t count) {
    const std::size_t from = byteOffset(text, position - 1);
    const std::size_t to = byteOffset(text, position - 1 + count);
    return text.substr(from, to - from);
}

} // namespace

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        count += startsCharacter(text, i) ? 1 : 0;
    return count;
}

Tick rotate(std::string_view text, std::int16_t start, std::string buffer) {
    if (start < 1) throw std::invalid_argument("ticker: start position must be 1 or more");
    const std::size_t length = characterCount(text);
    const auto xs = static_cast<std::size_t>(start);

    const std::string_view a = piece(text, xs, 20);
    const std::string_view b = piece(text, xs + 20, 20);
    const std::string_view c = piece(text, xs + 40, length);
    const std::string_view d = piece(text, 1, xs);

    Tick tick;
    tick.text = std::move(buffer);
    tick.text.clear();
    tick.text.reserve(a.size() + b.size() + c.size() + d.size());
    tick.text.append(a).append(b).append(c).append(d);
    tick.length = length > std::numeric_limits<std::int32_t>::max()
                      ? std::numeric_limits<std::int32_t>::max()
                      : static_cast<std::int32_t>(length);
    // Past the last position the next pass begins; a 16-bit position that
    // cannot advance further begins it too, rather than overflowing.
    const bool wraps = xs > length || start == std::numeric_limits<std::int16_t>::max();
    tick.next = wraps ? std::int16_t{1} : static_cast<std::int16_t>(start + 1);
    return tick;
}

} // namespace tarvino::ticker
