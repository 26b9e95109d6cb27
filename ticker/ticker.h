#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvino::ticker {

// One step of the banner: what the text box shows, where the next step
// starts, and the banner's length in characters as measured for this step.
struct Tick {
    std::string text;
    std::int16_t next = 1;
    std::int32_t length = 0;
};

// Rotates the UTF-8 banner `text` to start at the 1-based character position
// `start`: the characters from `start` to the end, then the first `start`
// characters. Positions and lengths count characters, never bytes, so a
// character is never split. Throws std::invalid_argument when start < 1.
// The text is built in `buffer`, whose storage is reused: handing back the
// previous tick's text makes a steady ticker allocate nothing.
Tick rotate(std::string_view text, std::int16_t start, std::string buffer = {});

// Number of characters in UTF-8 text.
std::size_t characterCount(std::string_view text);

} // namespace tarvino::ticker
