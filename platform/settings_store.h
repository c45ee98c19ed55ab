#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Typed values under a key path ("SOFTWARE\Plavik\Tovan\1.00"), the way the
// editor keeps its preferences, window placement and the firmware updater's
// location. A read returns the stored type with the value so the caller can
// check it.
enum class SettingType : uint8_t { String, Binary, Number };

struct SettingValue {
    SettingType type = SettingType::String;
    // String: the text without terminator. Binary: the bytes. Number: 4 bytes, little-endian.
    std::vector<uint8_t> bytes;

    static SettingValue string(std::string_view text);
    static SettingValue binary(std::vector<uint8_t> data);
    static SettingValue number(uint32_t n);
    std::string text() const { return std::string(bytes.begin(), bytes.end()); }
    std::optional<uint32_t> asNumber() const;

    bool operator==(const SettingValue&) const = default;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Whether anything is stored under the key path (the key exists).
    virtual bool hasKey(std::string_view keyPath) = 0;
    virtual std::optional<SettingValue> read(std::string_view keyPath, std::string_view name) = 0;
    // Creates the key when needed. False when the value could not be stored.
    virtual bool write(std::string_view keyPath, std::string_view name, const SettingValue& value) = 0;
};

// The store the process uses. Until a program installs one (the editor and the
// command-line tool install the file store) this is an in-memory store, so
// tests never touch the user's configuration.
SettingsStore& settingsStore();
// Installs a store (not owned; null restores the in-memory one). Returns the previous.
SettingsStore* setSettingsStore(SettingsStore* store);

// A store kept in memory only.
class MemorySettingsStore : public SettingsStore {
public:
    bool hasKey(std::string_view keyPath) override;
    std::optional<SettingValue> read(std::string_view keyPath, std::string_view name) override;
    bool write(std::string_view keyPath, std::string_view name, const SettingValue& value) override;

private:
    struct Entry {
        std::string key;
        std::string name;
        SettingValue value;
    };
    std::vector<Entry> entries;
};
