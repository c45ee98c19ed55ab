#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/preference.h"

// Owns an application's preferences and keeps them in the settings store
// under one key path. Every manager of the process hears about every change,
// so the application can react to a preference set anywhere.
class CCPreferenceManager {
public:
    CCPreferenceManager(std::string_view keyPath, void* application = nullptr);
    CCPreferenceManager(const CCPreferenceManager&) = delete;
    CCPreferenceManager& operator=(const CCPreferenceManager&) = delete;
    virtual ~CCPreferenceManager();
    // Creates the application's preferences and adds them.
    virtual void createPreferences() = 0;
    // Called after a preference with an id this manager holds changed.
    virtual void preferenceChanged(CCPreference* preference);

    CCPreference* addPreference(std::unique_ptr<CCPreference> preference);
    CCPreference* find(uint16_t id) const;
    const char* getText(uint16_t id) const;
    int32_t getInt(uint16_t id) const;
    const uint8_t* getData(uint16_t id) const;
    int32_t getUserFlag(uint16_t id) const;
    bool setInt(uint16_t id, int32_t value, bool save);
    bool setFloat(uint16_t id, float value, bool save);
    bool setData(uint16_t id, const uint8_t* bytes, bool save, int32_t length);

    // Reads every preference from the store in order; values that are missing
    // or of the wrong type are replaced by writing the current value.
    void loadAll();
    bool load(CCPreference& preference);
    bool write(CCPreference& preference);

    // The key path every preference of the process is kept under.
    static const std::string& keyPath();
    // Gives every manager holding changed's id the new value, then its hook.
    static void broadcast(CCPreference& changed);

    void* application;

private:
    std::vector<std::unique_ptr<CCPreference>> preferences;
};

// The decimal value of a string setting, or 0 when the key or value is
// missing or not a string.
int32_t readRegistryInt(std::string_view keyPath, std::string_view valueName);
