#include "desktop_font.h"
#include "plasma_look.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

using tarvino::qt::FontDescription;

namespace {

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        out.push_back(field);
    if (!line.empty() && line.back() == '\t') out.emplace_back();
    return out;
}

std::string joined(const std::vector<std::string>& families) {
    std::string out;
    for (const std::string& f : families)
        out += (out.empty() ? "" : ",") + f;
    return out;
}

// Each row is what Pango itself gave for the name (tests/pango_fonts.py makes
// and checks the table): the program must read every name the same way.
TEST(DesktopFont, ReadsGtkFontNamesAsPangoDoes) {
    std::ifstream table(std::string(TARVINO_FIXTURES) + "/pango-fonts.tsv");
    ASSERT_TRUE(table) << "no table";
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = fields(line);
        ASSERT_EQ(f.size(), 9u) << line;
        std::string name = f[0];
        if (name.size() > 1 && name.front() == '"') name = name.substr(1, name.size() - 2);
        ++rows;
        const auto font = tarvino::qt::parseFontDescription(name);
        if (f[1].empty()) { // no family: nothing to use
            EXPECT_EQ(font, std::nullopt) << name;
            continue;
        }
        ASSERT_TRUE(font) << name;
        EXPECT_EQ(joined(font->families), f[1]) << name;
        EXPECT_EQ(static_cast<long>(font->size * 1024 + 0.5), std::stol(f[2])) << name;
        EXPECT_EQ(font->pixels, f[3] == "1") << name;
        EXPECT_EQ(font->weight, std::stoi(f[4])) << name;
        EXPECT_EQ(font->style, std::stoi(f[5])) << name;
        EXPECT_EQ(font->stretch, std::stoi(f[6])) << name;
        EXPECT_EQ(font->variant, std::stoi(f[7])) << name;
        EXPECT_EQ(font->variations, f[8]) << name;
    }
    EXPECT_GT(rows, 40);
}

// XSETTINGS data as its owner writes it, in either byte order.
class Settings {
public:
    explicit Settings(bool msb) : msb_(msb) { bytes_ = {static_cast<std::uint8_t>(msb), 0, 0, 0}; }
    Settings& integer(const std::string& name, std::uint32_t v) {
        head(0, name);
        number(v, 4);
        return count();
    }
    Settings& string(const std::string& name, const std::string& v) {
        head(1, name);
        number(static_cast<std::uint32_t>(v.size()), 4);
        padded(v);
        return count();
    }
    Settings& colour(const std::string& name) {
        head(2, name);
        bytes_.insert(bytes_.end(), 8, 0x7f);
        return count();
    }
    std::vector<std::uint8_t> bytes(std::size_t cut = 0) const {
        std::vector<std::uint8_t> all = bytes_;
        const std::vector<std::uint8_t> header = numbered(7, 4), n = numbered(settings_, 4);
        all.insert(all.begin() + 4, header.begin(), header.end());
        all.insert(all.begin() + 8, n.begin(), n.end());
        all.erase(all.end() - static_cast<std::ptrdiff_t>(cut), all.end());
        return all;
    }
    std::vector<std::uint8_t> bytesClaiming(std::uint32_t settings) {
        std::swap(settings, settings_);
        auto b = bytes();
        std::swap(settings, settings_);
        return b;
    }

private:
    std::vector<std::uint8_t> numbered(std::uint32_t v, int width) const {
        std::vector<std::uint8_t> out;
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (msb_ ? width - 1 - i : i);
            out.push_back(static_cast<std::uint8_t>(v >> shift));
        }
        return out;
    }
    void number(std::uint32_t v, int width) {
        const auto n = numbered(v, width);
        bytes_.insert(bytes_.end(), n.begin(), n.end());
    }
    void padded(const std::string& s) {
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        bytes_.insert(bytes_.end(), (4 - s.size() % 4) % 4, 0);
    }
    void head(std::uint8_t type, const std::string& name) {
        bytes_.push_back(type);
        bytes_.push_back(0);
        number(static_cast<std::uint32_t>(name.size()), 2);
        padded(name);
        number(3, 4); // the serial of its last change
    }
    Settings& count() {
        ++settings_;
        return *this;
    }
    bool msb_;
    std::uint32_t settings_ = 0;
    std::vector<std::uint8_t> bytes_;
};

Settings desktop(bool msb) {
    Settings s(msb);
    s.integer("Xft/DPI", 98304).colour("Gtk/Color").string("Net/ThemeName", "Adwaita");
    s.string("Gtk/FontName", "Cantarell 11").integer("Net/CursorBlink", 1);
    return s;
}

TEST(DesktopFont, TakesTheFontNameOnlyFromWholeXSettingsData) {
    const auto changed = [](std::vector<std::uint8_t> b, std::size_t at, std::uint8_t to) {
        b.at(at) = to;
        return b;
    };
    const struct {
        const char* what;
        std::vector<std::uint8_t> data;
        std::optional<std::string> expected;
    } cases[] = {
        {"least significant byte first", desktop(false).bytes(), "Cantarell 11"},
        {"most significant byte first", desktop(true).bytes(), "Cantarell 11"},
        {"names only near the font's",
         Settings(false).string("Gtk/FontNameX", "X 1").string("Gtk/Font", "Y 2").bytes(),
         std::nullopt},
        {"not published", Settings(false).integer("Xft/DPI", 1).bytes(), std::nullopt},
        {"empty", {}, std::nullopt},
        {"an unknown byte order", changed(desktop(false).bytes(), 0, 2), std::nullopt},
        // A setting cut short, or more settings claimed than are there, ends
        // the reading without reading past the data.
        {"the font's value cut short",
         Settings(false).string("Gtk/FontName", "Cantarell 11").bytes(4), std::nullopt},
        {"a colour cut short", Settings(true).colour("Gtk/Color").bytes(1), std::nullopt},
        {"more settings claimed than given",
         Settings(false).integer("Xft/DPI", 1).bytesClaiming(0xffffffff), std::nullopt},
        {"an unknown type before the font's",
         changed(Settings(false).integer("A", 1).string("Gtk/FontName", "S 1").bytes(), 12, 7),
         std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tarvino::qt::xsettingsString(c.data, "Gtk/FontName"), c.expected) << c.what;
}

// kdeglobals files as Plasma writes them, read in KConfig's order, each over
// what the files before it gave.
TEST(PlasmaLook, ReadsKdeGlobalsAsKConfigCascadesThem) {
    const std::string font = "Noto Serif,12,-1,5,400,0,0,0,0,0,0,0,0,0,0,1";
    const struct {
        const char* what;
        std::vector<std::string> files;
        tarvino::qt::PlasmaLook expected;
    } cases[] = {
        {"the user's file",
         {"[General]\nfont=" + font + "\n[KDE]\nwidgetStyle=Breeze\n"},
         {font, "Breeze"}},
        {"the user's over the system's",
         {"[KDE]\nwidgetStyle=Oxygen\n[General]\nfont=X,9\n", "[KDE]\nwidgetStyle=breeze\n"},
         {"X,9", "breeze"}},
        {"KConfig's flags after a group, CRLF, blanks about '='",
         {"[General][$i]\r\nfont = " + font + " \r\n"},
         {font, ""}},
        {"the same keys in other groups, comments",
         {"[Colors:View]\nfont=X,9\n#[General]\n[WM]\nwidgetStyle=Fusion\n"},
         {}},
        {"a key before any group, a line without '=', a group not closed",
         {"font=X,9\n[General]\nfont\n[General\nfont=Y,9\n"},
         {}},
    };
    for (const auto& c : cases) {
        tarvino::qt::PlasmaLook look;
        for (const std::string& file : c.files)
            tarvino::qt::readKdeGlobals(file, look);
        EXPECT_EQ(look, c.expected) << c.what;
    }
}

} // namespace
