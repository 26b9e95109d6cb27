#include "gnome_settings.h"

#include "shared_library.h"

#include <memory>

namespace tarvino::qt {

std::optional<std::string> gnomeSettingsString(const char* schemaId, const char* key) {
    // GIO's C interface, as far as it is used here; its objects stay opaque.
    // GIO is opened only here: no other start maps it. Like GLib's other
    // libraries it is never unloaded (it is linked "nodelete"), so a thread
    // that dconf's backend starts outlives this call safely.
    const SharedLibrary gio("libgio-2.0.so.0");
    const auto defaultSource = gio.get<void*()>("g_settings_schema_source_get_default");
    const auto lookup = gio.get<void*(void*, const char*, int)>("g_settings_schema_source_lookup");
    const auto hasKey = gio.get<int(void*, const char*)>("g_settings_schema_has_key");
    const auto schemaUnref = gio.get<void(void*)>("g_settings_schema_unref");
    const auto settingsNew = gio.get<void*(void*, void*, const char*)>("g_settings_new_full");
    const auto getString = gio.get<char*(void*, const char*)>("g_settings_get_string");
    const auto objectUnref = gio.get<void(void*)>("g_object_unref");
    const auto release = gio.get<void(void*)>("g_free");
    if (!defaultSource || !lookup || !hasKey || !schemaUnref || !settingsNew || !getString ||
        !objectUnref || !release)
        return std::nullopt;
    // GIO aborts the process for a schema or key it does not have: both are
    // asked about first.
    void* source = defaultSource();
    const std::unique_ptr<void, void (*)(void*)> schema(
        source ? lookup(source, schemaId, 1) : nullptr, schemaUnref);
    if (!schema || !hasKey(schema.get(), key)) return std::nullopt;
    const std::unique_ptr<void, void (*)(void*)> settings(
        settingsNew(schema.get(), nullptr, nullptr), objectUnref);
    const std::unique_ptr<char, void (*)(void*)> value(
        settings ? getString(settings.get(), key) : nullptr, release);
    if (!value) return std::nullopt;
    return std::string(value.get());
}

} // namespace tarvino::qt
