#include "platform/settings_store.h"

#include "platform/installed_service.h"

#include <algorithm>

SettingValue SettingValue::string(std::string_view text) {
    return {SettingType::String, std::vector<uint8_t>(text.begin(), text.end())};
}

SettingValue SettingValue::binary(std::vector<uint8_t> data) {
    return {SettingType::Binary, std::move(data)};
}

SettingValue SettingValue::number(uint32_t n) {
    return {SettingType::Number,
            {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
             static_cast<uint8_t>(n >> 24)}};
}

std::optional<uint32_t> SettingValue::asNumber() const {
    if (type != SettingType::Number || bytes.size() != 4) return std::nullopt;
    return static_cast<uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                 static_cast<uint32_t>(bytes[3]) << 24);
}

namespace {

MemorySettingsStore& fallbackStore() {
    static MemorySettingsStore store;
    return store;
}

InstalledService<SettingsStore> installedStore;

} // namespace

SettingsStore& settingsStore() {
    return installedStore.get(fallbackStore());
}

SettingsStore* setSettingsStore(SettingsStore* store) {
    return installedStore.replace(store);
}

bool MemorySettingsStore::hasKey(std::string_view keyPath) {
    return std::any_of(entries.begin(), entries.end(), [&](const Entry& e) { return e.key == keyPath; });
}

std::optional<SettingValue> MemorySettingsStore::read(std::string_view keyPath, std::string_view name) {
    for (const Entry& e : entries)
        if (e.key == keyPath && e.name == name) return e.value;
    return std::nullopt;
}

bool MemorySettingsStore::write(std::string_view keyPath, std::string_view name, const SettingValue& value) {
    for (Entry& e : entries) {
        if (e.key == keyPath && e.name == name) {
            e.value = value;
            return true;
        }
    }
    entries.push_back({std::string(keyPath), std::string(name), value});
    return true;
}
