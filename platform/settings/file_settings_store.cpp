#include "platform/settings/file_settings_store.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/settings/settings_file_format.h"

namespace fs = std::filesystem;

namespace {

fs::path defaultFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') return xdg;
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return fs::path(home) / ".config";
    return fs::temp_directory_path() / "tovan-config";
}

// A path component that cannot climb out of the folder.
std::string safeComponent(std::string_view part) {
    std::string out(part);
    for (char& c : out)
        if (c == '/' || c == '\0') c = '_';
    if (out.empty() || out == "." || out == "..") out = "_";
    return out;
}

enum class FileState { Missing, Damaged, Good };

FileState load(const fs::path& file, SettingsFileValues& values) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::error_code error;
        return fs::exists(file, error) ? FileState::Damaged : FileState::Missing;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return FileState::Damaged;
    auto parsed = parseSettingsFile(text.str());
    if (!parsed) return FileState::Damaged;
    values = std::move(*parsed);
    return FileState::Good;
}

} // namespace

FileSettingsStore::FileSettingsStore() : FileSettingsStore(defaultFolder()) {}

FileSettingsStore::FileSettingsStore(fs::path folder) : folder(std::move(folder)) {}

fs::path FileSettingsStore::fileFor(std::string_view keyPath) const {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= keyPath.size()) {
        const size_t end = keyPath.find_first_of("\\/", start);
        const std::string_view part =
            keyPath.substr(start, end == std::string_view::npos ? end : end - start);
        if (!part.empty()) parts.emplace_back(part);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    if (!parts.empty() && strcasecmp(parts.front().c_str(), "SOFTWARE") == 0) parts.erase(parts.begin());
    fs::path file = folder;
    for (size_t i = 0; i + 1 < parts.size(); ++i)
        file /= safeComponent(parts[i]);
    file /= safeComponent(parts.empty() ? std::string_view{} : parts.back()) + ".ini";
    return file;
}

bool FileSettingsStore::hasKey(std::string_view keyPath) {
    std::error_code error;
    return fs::exists(fileFor(keyPath), error);
}

std::optional<SettingValue> FileSettingsStore::read(std::string_view keyPath, std::string_view name) {
    std::lock_guard lock(mutex);
    SettingsFileValues values;
    if (load(fileFor(keyPath), values) != FileState::Good) return std::nullopt;
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

bool FileSettingsStore::write(std::string_view keyPath, std::string_view name, const SettingValue& value) {
    std::lock_guard lock(mutex);
    const fs::path file = fileFor(keyPath);
    SettingsFileValues values;
    if (load(file, values) == FileState::Damaged) {
        // Keep what was there for the user; a fresh file takes its place.
        std::error_code error;
        fs::path kept = file;
        kept += ".damaged";
        fs::rename(file, kept, error);
        if (error) return false;
    }
    values.insert_or_assign(std::string(name), value);
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    const std::string text = formatSettingsFile(values);
    if (!writeFileAtomically(file.string(), {reinterpret_cast<const uint8_t*>(text.data()), text.size()}))
        return false;
    // Settings may hold paths and placements: keep them to the user.
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, error);
    return true;
}
