#include "volume_serial.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>

namespace tarvino::linux_drives {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The hex digits of text with dashes removed at the given positions only.
std::optional<std::string> digits(std::string_view text, std::initializer_list<std::size_t> dashes,
                                  std::size_t length) {
    if (text.size() != length) return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dashHere = std::find(dashes.begin(), dashes.end(), i) != dashes.end();
        if (dashHere) {
            if (text[i] != '-') return std::nullopt;
        } else {
            if (hexValue(text[i]) < 0) return std::nullopt;
            out += text[i];
        }
    }
    return out;
}

std::uint32_t parseHex32(std::string_view hex8) {
    std::uint32_t v = 0;
    for (char c : hex8)
        v = (v << 4) | static_cast<std::uint32_t>(hexValue(c));
    return v;
}

std::uint32_t littleEndian32(const std::array<std::uint8_t, 16>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

} // namespace

std::optional<std::uint32_t> serialFromUuid(std::string_view uuid) {
    if (auto fat = digits(uuid, {4}, 9)) return parseHex32(*fat);
    if (auto ntfs = digits(uuid, {}, 16)) return parseHex32(std::string_view(*ntfs).substr(8));
    if (auto full = digits(uuid, {8, 13, 18, 23}, 36)) {
        std::array<std::uint8_t, 16> bytes{};
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(hexValue((*full)[2 * i]) << 4 |
                                                 hexValue((*full)[2 * i + 1]));
        // Low 32 bits of le64(bytes 0-7) ^ le64(bytes 8-15).
        return littleEndian32(bytes, 0) ^ littleEndian32(bytes, 8);
    }
    return std::nullopt;
}

} // namespace tarvino::linux_drives
