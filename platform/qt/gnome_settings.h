#pragma once

#include <optional>
#include <string>

namespace tarvino::qt {

// A string from GSettings, where GNOME keeps its settings (in dconf), read
// through GIO as GTK reads them; nothing where GIO, the schema or the key is
// not there.
std::optional<std::string> gnomeSettingsString(const char* schemaId, const char* key);

} // namespace tarvino::qt
