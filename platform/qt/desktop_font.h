#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvino::qt {

// A font as GTK names it ("Cantarell 11", "DejaVu Serif Bold Italic 13.5").
struct FontDescription {
    std::vector<std::string> families;
    double size = 0; // none given: Qt's own size stays
    bool pixels = false;
    int weight = 400; // 100 to 1000, as Pango and Qt count
    enum class Slant { upright, italic, oblique } slant = Slant::upright;

    bool operator==(const FontDescription&) const = default;
};

// Pango's form: families, then style words, then the size. Nothing where no
// family is named.
std::optional<FontDescription> parseFontDescription(std::string_view text);

// A string setting from the XSETTINGS property's bytes, as its owner wrote
// them; nothing where it is absent or the data is malformed.
std::optional<std::string> xsettingsString(std::span<const std::uint8_t> data,
                                           std::string_view name);

// Under a GTK desktop, Qt loads GTK 3 for its theme, and of that theme this
// window uses only the UI font, which the desktop also publishes through
// XSETTINGS. Where the program will be an X client, the user named no theme
// and that font can be read, Qt is told to leave the desktop's theme aside
// and the font is returned, to be set once the application exists.
std::optional<FontDescription> takeDesktopFontFromXSettings();
void useDesktopFont(const FontDescription& font);

} // namespace tarvino::qt
