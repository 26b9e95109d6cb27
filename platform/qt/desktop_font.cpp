#include "desktop_font.h"

#include "gnome_settings.h"
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

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Pango's match of a style word: case aside, a '-' in the known word may be
// left out ("semibold", "Semi-Bold").
bool matchesWord(std::string_view known, std::string_view word) {
    std::size_t k = 0, w = 0;
    while (k < known.size() && w < word.size()) {
        const auto a = std::tolower(static_cast<unsigned char>(known[k]));
        const auto b = std::tolower(static_cast<unsigned char>(word[w]));
        if (a != b) {
            if (a != '-') return false;
            ++k;
            continue;
        }
        ++k;
        ++w;
    }
    return w == word.size() && k == known.size();
}

struct Named {
    std::string_view word;
    int value;
};
// Pango's words for each field, and the values it gives them.
constexpr Named weights[] = {
    {"Thin", 100},         {"Ultra-Light", 200},  {"Extra-Light", 200},  {"Light", 300},
    {"Semi-Light", 350},   {"Demi-Light", 350},   {"Book", 380},         {"Regular", 400},
    {"Medium", 500},       {"Semi-Bold", 600},    {"Demi-Bold", 600},    {"Bold", 700},
    {"Ultra-Bold", 800},   {"Extra-Bold", 800},   {"Heavy", 900},        {"Black", 900},
    {"Ultra-Heavy", 1000}, {"Extra-Heavy", 1000}, {"Ultra-Black", 1000}, {"Extra-Black", 1000},
};
constexpr Named styles[] = {{"Roman", 0}, {"Oblique", 1}, {"Italic", 2}};
constexpr Named stretches[] = {
    {"Ultra-Condensed", 0}, {"Extra-Condensed", 1}, {"Condensed", 2},      {"Semi-Condensed", 3},
    {"Semi-Expanded", 5},   {"Expanded", 6},        {"Extra-Expanded", 7}, {"Ultra-Expanded", 8},
};
constexpr Named variants[] = {{"Small-Caps", 1},      {"All-Small-Caps", 2}, {"Petite-Caps", 3},
                              {"All-Petite-Caps", 4}, {"Unicase", 5},        {"Title-Caps", 6}};
constexpr Named gravities[] = {{"Not-Rotated", 0},   {"South", 0},        {"Upside-Down", 2},
                               {"North", 2},         {"Rotated-Left", 1}, {"East", 1},
                               {"Rotated-Right", 3}, {"West", 3}};

std::optional<int> wholeNumber(std::string_view s) {
    int v = 0;
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), v);
    // No negative one: Pango reads it as no number.
    if (s.empty() || s.front() == '-' || error != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

// One field's word, or "field=word" or "field=number", as Pango reads it.
template <std::size_t N>
bool readField(std::string_view field, const Named (&names)[N], std::string_view word, int& value) {
    bool prefixed = false;
    if (word.size() > field.size() + 1 && word.substr(0, field.size()) == field &&
        word[field.size()] == '=') {
        word.remove_prefix(field.size() + 1);
        prefixed = true;
    }
    for (const Named& n : names)
        if (matchesWord(n.word, word)) {
            value = n.value;
            return true;
        }
    const auto number = prefixed ? wholeNumber(word) : std::nullopt;
    if (number) value = *number;
    return number.has_value();
}

bool readStyleWord(std::string_view word, FontDescription& font) {
    if (matchesWord("Normal", word)) return true; // a word of every field, setting none
    int gravity = 0;
    return readField("weight", weights, word, font.weight) ||
           readField("style", styles, word, font.style) ||
           readField("stretch", stretches, word, font.stretch) ||
           readField("variant", variants, word, font.variant) ||
           readField("gravity", gravities, word, gravity);
}

// A size as g_ascii_strtod reads one: decimal or hex, a sign, an exponent.
std::optional<double> sizeNumber(std::string_view s) {
    double v = 0;
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    auto format = std::chars_format::general;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        format = std::chars_format::hex;
        s.remove_prefix(2);
    }
    if (s.empty() || s.front() == '+' || s.front() == '-') return std::nullopt;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), v, format);
    if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return negative ? -v : v;
}

// The last word of text: after its last blank, or after `stop`.
std::string_view lastWord(std::string_view text, std::string_view stop = {}) {
    std::size_t start = text.size();
    while (start > 0 && !isSpace(text[start - 1]) && stop.find(text[start - 1]) == stop.npos)
        --start;
    return text.substr(start);
}

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
    return desktopNamed({"GNOME", "X-CINNAMON", "PANTHEON", "UNITY", "MATE", "XFCE", "LXDE"});
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
    // As Pango reads it, from the end: variations after '@' (a word after the
    // last blank), a size and style words (each after a blank or a comma),
    // then the family list, whose last comma ends it.
    std::string_view rest = trimmed(text);
    if (const auto word = lastWord(rest); !word.empty() && word.front() == '@') {
        font.variations = std::string(word.substr(1));
        rest = trimmed(rest.substr(0, rest.size() - word.size()));
    }
    if (const auto word = lastWord(rest, ","); !word.empty()) {
        std::string_view number = word;
        const bool pixels = number.size() > 2 && number.ends_with("px");
        if (pixels) number.remove_suffix(2);
        if (const auto size = sizeNumber(number); size && *size >= 0 && *size <= 1000000) {
            font.size = *size;
            font.pixels = pixels;
            rest = trimmed(rest.substr(0, rest.size() - word.size()));
        }
    }
    // Right to left, so the leftmost word of a field holds.
    for (auto word = lastWord(rest, ","); !word.empty() && readStyleWord(word, font);
         word = lastWord(rest, ","))
        rest = trimmed(rest.substr(0, rest.size() - word.size()));
    if (rest.ends_with(',')) rest = trimmed(rest.substr(0, rest.size() - 1));
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

bool desktopNamed(std::initializer_list<std::string_view> names) {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    std::string_view rest = desktops ? desktops : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view name = rest.substr(0, colon);
        for (std::string_view known : names)
            if (sameWord(name, known)) return true;
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return false;
}

std::optional<FontDescription> takeDesktopFont() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME") || !gtkDesktop() || !willBeX11Client())
        return std::nullopt;
    auto name = gtkFontName();
    // Under GNOME's Wayland session, Xwayland may be started for this very
    // program, before gsd-xsettings has published anything; GTK's theme would
    // give its own default until then. GNOME's setting, which it publishes,
    // is read instead.
    if (!name && desktopNamed({"GNOME"}))
        name = gnomeSettingsString("org.gnome.desktop.interface", "font-name");
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
    // A size no desktop gives is left to Qt, as is none.
    if (description.size > 0 && description.size <= 1000) {
        if (description.pixels)
            font.setPixelSize(std::max(1, static_cast<int>(description.size + 0.5)));
        else
            font.setPointSizeF(description.size);
    }
    font.setWeight(static_cast<QFont::Weight>(std::clamp(description.weight, 1, 1000)));
    font.setStyle(description.style == 2   ? QFont::StyleItalic
                  : description.style == 1 ? QFont::StyleOblique
                                           : QFont::StyleNormal);
    static constexpr int percent[] = {50, 62, 75, 87, 100, 112, 125, 150, 200};
    if (description.stretch >= 0 && description.stretch <= 8)
        font.setStretch(percent[description.stretch]);
    // Qt has small capitals alone; the other variants need OpenType features.
    if (description.variant == 1 || description.variant == 2)
        font.setCapitalization(QFont::SmallCaps);
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    for (const QString& axis : QString::fromStdString(description.variations).split(u',')) {
        // Qt warns of a tag that is not four letters long, as of no tag at all.
        const QString name = axis.section(u'=', 0, 0);
        const auto tag = name.size() == 4 ? QFont::Tag::fromString(name) : std::nullopt;
        bool number = false;
        const float value = axis.section(u'=', 1).toFloat(&number);
        if (tag && number) font.setVariableAxis(*tag, value);
    }
#endif
    QApplication::setFont(font);
}

} // namespace tarvino::qt
