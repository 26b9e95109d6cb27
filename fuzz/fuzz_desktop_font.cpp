// The desktop's font as another X client publishes it: arbitrary XSETTINGS
// data, and arbitrary text read as a GTK font name.
#include "desktop_font.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void checkFont(std::string_view name) {
    const auto font = tarvino::qt::parseFontDescription(name);
    if (!font) return;
    if (font->families.empty() || !(font->size >= 0 && font->size <= 1000000)) std::abort();
    for (const std::string& family : font->families)
        if (family.empty() || isBlank(family.front()) || isBlank(family.back()) ||
            family.find(',') != std::string::npos || family.size() > name.size())
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkFont({reinterpret_cast<const char*>(data), size});
    if (const auto name = tarvino::qt::xsettingsString({data, size}, "Gtk/FontName")) {
        if (name->size() > size) std::abort();
        checkFont(*name);
    }
    return 0;
}
