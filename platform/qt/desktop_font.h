#pragma once

#include <cstdint>
#include <initializer_list>
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
    // Pango's numbering: style 0 normal, 1 oblique, 2 italic; stretch 0
    // ultra-condensed to 8 ultra-expanded, 4 normal; variant 0 normal, 1
    // small caps, 2 all small caps, 3 to 6 petite, all petite, unicase, title.
    int style = 0;
    int stretch = 4;
    int variant = 0;
    std::string variations; // OpenType axes, as "wght=200,wdth=80"

    bool operator==(const FontDescription&) const = default;
};

// Read as Pango reads it: families, style words, a size in points or
// pixels ("px"), then variations after '@'. Nothing where no family is named.
std::optional<FontDescription> parseFontDescription(std::string_view text);

// A string setting from the XSETTINGS property's bytes, as its owner wrote
// them; nothing where it is absent or the data is malformed.
std::optional<std::string> xsettingsString(std::span<const std::uint8_t> data,
                                           std::string_view name);

// Whether XDG_CURRENT_DESKTOP, a list split by ':', holds one of the names,
// case aside.
bool desktopNamed(std::initializer_list<std::string_view> names);

// Under a GTK desktop, Qt loads GTK 3 for its theme, and of that theme this
// window uses only the UI font, which the desktop also publishes through
// XSETTINGS (GNOME keeps it in GSettings too). Where the program will be an X
// client, the user named no theme and that font can be read, Qt is told to
// leave the desktop's theme aside and the font is returned, to be set once
// the application exists.
std::optional<FontDescription> takeDesktopFont();
void useDesktopFont(const FontDescription& font);

} // namespace tarvino::qt
