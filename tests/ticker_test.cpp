#include "ticker.h"

#include <gtest/gtest.h>

namespace tarvino::ticker {
namespace {

TEST(Ticker, RotatesAThreeCharacterBanner) {
    const struct {
        std::int16_t before;
        const char* shown;
        std::int16_t after;
    } ticks[] = {{1, "abca", 2}, {2, "bcab", 3}, {3, "cabc", 4}, {4, "abc", 1}, {1, "abca", 2}};
    std::int16_t xs = 1;
    for (const auto& t : ticks) {
        ASSERT_EQ(xs, t.before);
        const Tick tick = rotate("abc", xs);
        EXPECT_EQ(tick.text, t.shown);
        EXPECT_EQ(tick.next, t.after);
        EXPECT_EQ(tick.length, 3);
        xs = tick.next;
    }
}

// Independent of the pieces: the text from p to the end, then its first p characters.
std::u32string expectedAt(const std::u32string& s, std::size_t p) {
    if (p > s.size()) return s;
    return s.substr(p - 1) + s.substr(0, p);
}

std::u32string decode(const std::string& utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? b : b & (0x3F >> (n - 1));
        for (int k = 1; k < n; ++k)
            c = (c << 6) |
                (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        out += c;
        i += static_cast<std::size_t>(n);
    }
    return out;
}

TEST(Ticker, AFullPassTakesLPlusOneTicksForAnyBanner) {
    const std::string banners[] = {
        "x",
        "0123456789012345678901234567890123456789012345678901234567890123456789", // > 40
        "                       Orlenda \u00A9 2026 caf\u00E9 \u65E5\u672C \U0001F600 end ",
        std::string(19, 'a') + "\u00E9" + std::string(19, 'b') + "\u00E9\u00E9" + "tail",
    };
    for (const std::string& banner : banners) {
        const std::u32string chars = decode(banner);
        std::int16_t xs = 1;
        for (std::size_t tick = 1; tick <= chars.size() + 1; ++tick) {
            const Tick t = rotate(banner, xs);
            ASSERT_EQ(decode(t.text), expectedAt(chars, tick)) << banner << " tick " << tick;
            EXPECT_EQ(static_cast<std::size_t>(t.length), chars.size());
            xs = t.next;
        }
        EXPECT_EQ(xs, 1) << "back to the start after L + 1 ticks: " << banner;
    }
}

TEST(Ticker, HandlesTheEdges) {
    const struct {
        const char* name;
        std::string text;
        std::int16_t xs;
        std::string shown;
        std::int16_t next;
    } cases[] = {
        {"empty banner", "", 1, "", 1},
        {"start beyond L + 1", "abc", 9, "abc", 1},
        {"start far beyond", "abc", 32767, "abc", 1},
        {"non-ASCII at the cut", "\u00E9t\u00E9", 2, "t\u00E9\u00E9t", 3},
        {"four-byte character", "a\U0001F600b", 3, "ba\U0001F600b", 4},
        // Found by fuzzing: a stray continuation byte at the start was dropped.
        {"stray continuation byte first",
         "\xBB\xD8"
         "f\xC3\xA9 ",
         6,
         "\xBB\xD8"
         "f\xC3\xA9 ",
         1},
        {"stray continuation byte rotated",
         "\xBB"
         "ab",
         2,
         "ab\xBB"
         "a",
         3},
    };
    for (const auto& c : cases) {
        const Tick t = rotate(c.text, c.xs);
        EXPECT_EQ(t.text, c.shown) << c.name;
        EXPECT_EQ(t.next, c.next) << c.name;
    }
    EXPECT_THROW(rotate("abc", 0), std::invalid_argument);
    EXPECT_THROW(rotate("abc", -5), std::invalid_argument);
}

TEST(Ticker, ReusesTheStorageItIsHandedBack) {
    std::string buffer;
    buffer.reserve(256);
    buffer = "stale text";
    const char* storage = buffer.data();
    Tick t = rotate("abc", 2, std::move(buffer));
    EXPECT_EQ(t.text, "bcab");
    EXPECT_EQ(t.text.data(), storage) << "the tick allocated instead of reusing";
    t = rotate("abc", 3, std::move(t.text));
    EXPECT_EQ(t.text, "cabc");
    EXPECT_EQ(t.text.data(), storage);
}

TEST(Ticker, ALongBannerNeverOverflowsItsSixteenBitPosition) {
    const std::string banner(40000, 'z');
    const Tick t = rotate(banner, 32767);
    EXPECT_EQ(t.next, 1);
    EXPECT_EQ(t.length, 40000);
    EXPECT_EQ(t.text.size(), 40000u - 32766u + 32767u);
}

} // namespace
} // namespace tarvino::ticker
