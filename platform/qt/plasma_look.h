#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvino::qt {

// What this window takes from Plasma's settings, as kdeglobals gives them.
struct PlasmaLook {
    std::string font;        // QFont's own form; empty: Plasma's default
    std::string widgetStyle; // empty: Plasma's default, Breeze
    bool operator==(const PlasmaLook&) const = default;
};

// One kdeglobals file read over what the files before it gave, as KConfig
// cascades them (the system's first, the user's last).
void readKdeGlobals(std::string_view text, PlasmaLook& look);

// Under KDE Plasma, Qt loads Plasma's platform theme, over thirty KDE
// libraries, and of it this window uses the widget style, which also gives
// the colours of Plasma's scheme and the icons of its theme, and the UI
// font. Where the style is Breeze, the user named neither theme nor style,
// and kdeglobals can be read, Qt is told to leave the desktop's theme aside
// and the look is returned, to be set once the application exists.
std::optional<PlasmaLook> takePlasmaLook();
void usePlasmaLook(const PlasmaLook& look);

} // namespace tarvino::qt
