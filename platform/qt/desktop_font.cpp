#include "desktop_font.h"

#include "xcb_reply.h"

#include <QApplication>
#include <QFont>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace tarvino::qt {

namespace {

bool sameWord(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view trimmed(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == ','; };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return s;
}

// Pango's style words; a weight of 0 is a word that sets no weight.
struct StyleWord {
    std::string_view word;
    int weight;
    FontDescription::Slant slant;
};
constexpr FontDescription::Slant upright = FontDescription::Slant::upright;
constexpr StyleWord styleWords[] = {
    {"Thin", 100, upright},
    {"Ultra-Light", 200, upright},
    {"Ultralight", 200, upright},
    {"Extra-Light", 200, upright},
    {"Extralight", 200, upright},
    {"Light", 300, upright},
    {"Semi-Light", 350, upright},
    {"Semilight", 350, upright},
    {"Demi-Light", 350, upright},
    {"Demilight", 350, upright},
    {"Book", 380, upright},
    {"Regular", 400, upright},
    {"Normal", 400, upright},
    {"Medium", 500, upright},
    {"Semi-Bold", 600, upright},
    {"Semibold", 600, upright},
    {"Demi-Bold", 600, upright},
    {"Demibold", 600, upright},
    {"Bold", 700, upright},
    {"Ultra-Bold", 800, upright},
    {"Ultrabold", 800, upright},
    {"Extra-Bold", 800, upright},
    {"Extrabold", 800, upright},
    {"Heavy", 900, upright},
    {"Black", 900, upright},
    {"Ultra-Heavy", 1000, upright},
    {"Ultraheavy", 1000, upright},
    {"Ultra-Black", 1000, upright},
    {"Extra-Black", 1000, upright},
    {"Roman", 0, upright},
    {"Italic", 0, FontDescription::Slant::italic},
    {"Oblique", 0, FontDescription::Slant::oblique},
    {"Small-Caps", 0, upright},
    {"All-Small-Caps", 0, upright},
    {"Petite-Caps", 0, upright},
    {"All-Petite-Caps", 0, upright},
    {"Unicase", 0, upright},
    {"Title-Caps", 0, upright},
    {"Ultra-Condensed", 0, upright},
    {"Extra-Condensed", 0, upright},
    {"Condensed", 0, upright},
    {"Semi-Condensed", 0, upright},
    {"Semi-Expanded", 0, upright},
    {"Expanded", 0, upright},
    {"Extra-Expanded", 0, upright},
    {"Ultra-Expanded", 0, upright},
};

// XSETTINGS numbers are in the byte order its first byte names.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data)
        : data_(data), msb_(!data.empty() && data[0] == 1) {}
    bool skip(std::size_t n) {
        if (n > data_.size() - at_) return false;
        at_ += n;
        return true;
    }
    std::optional<std::uint32_t> number(std::size_t width) {
        if (width > data_.size() - at_) return std::nullopt;
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t byte = msb_ ? i : width - 1 - i;
            v = (v << 8) | data_[at_ + byte];
        }
        at_ += width;
        return v;
    }
    // n bytes, then padding to a multiple of four.
    std::optional<std::string_view> text(std::size_t n) {
        const auto* start = reinterpret_cast<const char*>(data_.data() + at_);
        if (!skip(n) || !skip((4 - n % 4) % 4)) return std::nullopt;
        return std::string_view(start, n);
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t at_ = 0;
    bool msb_;
};

bool gtkDesktop() {
    // The desktops for which Qt picks the GTK theme.
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    std::string_view rest = desktops ? desktops : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view name = rest.substr(0, colon);
        for (std::string_view gtk :
             {"GNOME", "X-CINNAMON", "PANTHEON", "UNITY", "MATE", "XFCE", "LXDE"})
            if (sameWord(name, gtk)) return true;
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return false;
}

bool willBeX11Client() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty()) return platform == "xcb" || platform.startsWith("xcb;");
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           !qEnvironmentVariableIsEmpty("DISPLAY");
}

struct Disconnect {
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};

std::optional<std::string> gtkFontName() {
    int screen = 0;
    const std::unique_ptr<xcb_connection_t, Disconnect> c(xcb_connect(nullptr, &screen));
    if (xcb_connection_has_error(c.get())) return std::nullopt;
    const std::string selection = "_XSETTINGS_S" + std::to_string(screen);
    const auto intern = [&c](std::string_view name) {
        return xcb_intern_atom(c.get(), 0, static_cast<std::uint16_t>(name.size()), name.data());
    };
    const auto selectionCookie = intern(selection);
    const auto settingsCookie = intern("_XSETTINGS_SETTINGS");
    const XcbReply<xcb_intern_atom_reply_t> selectionAtom(
        xcb_intern_atom_reply(c.get(), selectionCookie, nullptr));
    const XcbReply<xcb_intern_atom_reply_t> settingsAtom(
        xcb_intern_atom_reply(c.get(), settingsCookie, nullptr));
    if (!selectionAtom || !settingsAtom) return std::nullopt;
    const XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        c.get(), xcb_get_selection_owner(c.get(), selectionAtom->atom), nullptr));
    if (!owner || owner->owner == XCB_NONE) return std::nullopt;
    const XcbReply<xcb_get_property_reply_t> property(
        xcb_get_property_reply(c.get(),
                               xcb_get_property(c.get(), 0, owner->owner, settingsAtom->atom,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16),
                               nullptr));
    if (!property || property->format != 8) return std::nullopt;
    const auto* bytes = static_cast<const std::uint8_t*>(xcb_get_property_value(property.get()));
    return xsettingsString(
        {bytes, static_cast<std::size_t>(xcb_get_property_value_length(property.get()))},
        "Gtk/FontName");
}

} // namespace

std::optional<FontDescription> parseFontDescription(std::string_view text) {
    FontDescription font;
    // Pango reads the size and the style words from the end, back to the
    // last family; the families before it are separated by commas.
    std::string_view rest = trimmed(text);
    const auto lastWord = [&rest] {
        const auto space = rest.find_last_of(" \t,");
        return space == std::string_view::npos ? rest : rest.substr(space + 1);
    };
    const auto dropLastWord = [&rest](std::size_t n) {
        rest = trimmed(rest.substr(0, rest.size() - n));
    };
    if (const std::string_view word = lastWord(); !word.empty()) {
        std::string_view number = word;
        const bool pixels = number.size() > 2 && number.ends_with("px");
        if (pixels) number.remove_suffix(2);
        double size = 0;
        const bool digits =
            !number.empty() && number.find_first_not_of("0123456789.") == std::string_view::npos;
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), size);
        if (digits && error == std::errc() && end == number.data() + number.size()) {
            // A size alone names no family; one no desktop gives is left to its theme.
            if (size > 1000 || word.size() == rest.size()) return std::nullopt;
            font.size = size;
            font.pixels = pixels;
            dropLastWord(word.size());
        }
    }
    // The leftmost style word of a kind holds, as in Pango.
    for (;;) {
        const std::string_view word = lastWord();
        const auto style =
            std::find_if(std::begin(styleWords), std::end(styleWords),
                         [word](const StyleWord& s) { return sameWord(word, s.word); });
        if (word.empty() || style == std::end(styleWords)) break;
        if (style->weight != 0) font.weight = style->weight;
        if (style->slant != upright || style->word == "Roman") font.slant = style->slant;
        dropLastWord(word.size());
    }
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        if (const auto family = trimmed(rest.substr(0, comma)); !family.empty())
            font.families.emplace_back(family);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    if (font.families.empty()) return std::nullopt;
    return font;
}

std::optional<std::string> xsettingsString(std::span<const std::uint8_t> data,
                                           std::string_view name) {
    Reader in(data);
    if (data.empty() || data[0] > 1 || !in.skip(4) || !in.skip(4)) return std::nullopt;
    const auto count = in.number(4);
    if (!count) return std::nullopt;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto type = in.number(1);
        const auto nameLength = (type && in.skip(1)) ? in.number(2) : std::nullopt;
        const auto key = nameLength ? in.text(*nameLength) : std::nullopt;
        if (!key || !in.skip(4)) return std::nullopt; // the serial of its last change
        switch (*type) {
        case 0: // an integer
            if (!in.skip(4)) return std::nullopt;
            break;
        case 1: { // a string
            const auto length = in.number(4);
            const auto value = length ? in.text(*length) : std::nullopt;
            if (!value) return std::nullopt;
            if (*key == name) return std::string(*value);
            break;
        }
        case 2: // a colour: four 16-bit channels
            if (!in.skip(8)) return std::nullopt;
            break;
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<FontDescription> takeDesktopFontFromXSettings() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME") || !gtkDesktop() || !willBeX11Client())
        return std::nullopt;
    const auto name = gtkFontName();
    auto font = name ? parseFontDescription(*name) : std::nullopt;
    // Qt's choice of theme by desktop; the theme named by the user still holds.
    if (font) QGuiApplication::setDesktopSettingsAware(false);
    return font;
}

void useDesktopFont(const FontDescription& description) {
    QFont font = QApplication::font();
    QStringList families;
    for (const std::string& family : description.families)
        families << QString::fromStdString(family);
    font.setFamilies(families);
    if (description.size > 0 && description.pixels)
        font.setPixelSize(static_cast<int>(description.size + 0.5));
    else if (description.size > 0)
        font.setPointSizeF(description.size);
    font.setWeight(static_cast<QFont::Weight>(description.weight));
    font.setStyle(description.slant == FontDescription::Slant::italic    ? QFont::StyleItalic
                  : description.slant == FontDescription::Slant::oblique ? QFont::StyleOblique
                                                                         : QFont::StyleNormal);
    QApplication::setFont(font);
}

} // namespace tarvino::qt
