#pragma once

#include <filesystem>
#include <mutex>

#include "platform/settings_store.h"

// Keeps each key path in one file under a configuration folder:
// "SOFTWARE\Plavik\Tovan\1.00" becomes <folder>/Plavik/Tovan/1.00.ini.
// Writes replace the file atomically (temporary file, then rename). A file
// that cannot be read or parsed counts as holding no values; before it is
// replaced it is kept beside as <name>.damaged, so nothing is lost.
class FileSettingsStore : public SettingsStore {
public:
    // The folder is $XDG_CONFIG_HOME, else ~/.config.
    FileSettingsStore();
    explicit FileSettingsStore(std::filesystem::path folder);

    bool hasKey(std::string_view keyPath) override;
    std::optional<SettingValue> read(std::string_view keyPath, std::string_view name) override;
    bool write(std::string_view keyPath, std::string_view name, const SettingValue& value) override;

    // The file that holds a key path's values.
    std::filesystem::path fileFor(std::string_view keyPath) const;

private:
    std::filesystem::path folder;
    std::mutex mutex;
};
