#include "toolkit/preference_manager.h"

#include <algorithm>
#include <vector>

#include "platform/settings_store.h"
#include "toolkit/text_number.h"

namespace {

constexpr size_t kVariableReadSize = 4096;

// Every manager of the process, for broadcasting. Used on the user-interface
// thread only.
std::vector<CCPreferenceManager*>& managers() {
    static std::vector<CCPreferenceManager*> list;
    return list;
}

std::string& processKeyPath() {
    static std::string path;
    return path;
}

} // namespace

CCPreferenceManager::CCPreferenceManager(std::string_view keyPath, void* application)
    : application(application) {
    processKeyPath() = std::string(keyPath);
    managers().push_back(this);
    preferences.reserve(10);
}

CCPreferenceManager::~CCPreferenceManager() {
    while (!preferences.empty())
        preferences.pop_back();
    auto& list = managers();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void CCPreferenceManager::preferenceChanged(CCPreference*) {}

const std::string& CCPreferenceManager::keyPath() {
    return processKeyPath();
}

CCPreference* CCPreferenceManager::addPreference(std::unique_ptr<CCPreference> preference) {
    if (!preference) return nullptr;
    preference->owner = this;
    preferences.push_back(std::move(preference));
    return preferences.back().get();
}

CCPreference* CCPreferenceManager::find(uint16_t id) const {
    for (const auto& preference : preferences)
        if (preference->id == id) return preference.get();
    return nullptr;
}

const char* CCPreferenceManager::getText(uint16_t id) const {
    CCPreference* preference = find(id);
    return preference != nullptr ? preference->text() : nullptr;
}

int32_t CCPreferenceManager::getInt(uint16_t id) const {
    CCPreference* preference = find(id);
    return preference != nullptr ? preference->intValue() : 0;
}

const uint8_t* CCPreferenceManager::getData(uint16_t id) const {
    CCPreference* preference = find(id);
    return preference != nullptr && preference->kind == CCPreference::Data ? preference->data() : nullptr;
}

int32_t CCPreferenceManager::getUserFlag(uint16_t id) const {
    CCPreference* preference = find(id);
    return preference != nullptr ? preference->userFlag : 0;
}

bool CCPreferenceManager::setInt(uint16_t id, int32_t value, bool save) {
    CCPreference* preference = find(id);
    return preference != nullptr && preference->set(value, save);
}

bool CCPreferenceManager::setFloat(uint16_t id, float value, bool save) {
    CCPreference* preference = find(id);
    return preference != nullptr && preference->set(value, save);
}

bool CCPreferenceManager::setData(uint16_t id, const uint8_t* bytes, bool save, int32_t length) {
    CCPreference* preference = find(id);
    return preference != nullptr && preference->setFromData(bytes, save, length);
}

void CCPreferenceManager::loadAll() {
    for (const auto& preference : preferences)
        load(*preference);
}

bool CCPreferenceManager::load(CCPreference& preference) {
    SettingsStore& store = settingsStore();
    std::optional<SettingValue> stored;
    if (store.hasKey(keyPath())) stored = store.read(keyPath(), preference.valueName);

    const bool isData = preference.kind == CCPreference::Data;
    const SettingType wanted = isData ? SettingType::Binary : SettingType::String;
    if (!stored || stored->type != wanted) {
        write(preference);
        broadcast(preference);
        return false;
    }

    const bool variable = isData && preference.isVariableSize();
    std::vector<uint8_t> buffer(variable ? kVariableReadSize : static_cast<size_t>(preference.size), 0);
    // Texts keep their terminator: a value longer than the buffer is cut.
    const size_t room = isData ? buffer.size() : buffer.size() - 1;
    const size_t length = std::min(stored->bytes.size(), room);
    std::copy_n(stored->bytes.begin(), length, buffer.begin());
    preference.setFromData(buffer.data(), false,
                           variable ? static_cast<int32_t>(length) : static_cast<int32_t>(buffer.size()));
    return true;
}

bool CCPreferenceManager::write(CCPreference& preference) {
    SettingsStore& store = settingsStore();
    if (preference.kind == CCPreference::Data) {
        const uint8_t* bytes = preference.data();
        std::vector<uint8_t> data;
        if (bytes != nullptr) data.assign(bytes, bytes + preference.size);
        return store.write(keyPath(), preference.valueName, SettingValue::binary(std::move(data)));
    }
    const char* text = preference.text();
    if (text == nullptr) return false;
    return store.write(keyPath(), preference.valueName, SettingValue::string(text));
}

void CCPreferenceManager::broadcast(CCPreference& changed) {
    // A hook may add or remove managers; walk a copy.
    const std::vector<CCPreferenceManager*> list = managers();
    for (CCPreferenceManager* manager : list) {
        CCPreference* mine = manager->find(changed.id);
        if (mine == nullptr) continue;
        if (mine != &changed) {
            switch (mine->kind) {
            case CCPreference::Integer:
                mine->assign(changed.intValue());
                break;
            case CCPreference::Float:
                mine->assign(changed.floatValue());
                break;
            case CCPreference::String: {
                const char* text = changed.text();
                if (text != nullptr)
                    mine->assignFromText(reinterpret_cast<const uint8_t*>(text),
                                         CCStringPreference::kCapacity);
                break;
            }
            case CCPreference::Data:
                if (changed.data() != nullptr) mine->assignFromText(changed.data(), changed.size);
                break;
            }
        }
        manager->preferenceChanged(mine);
    }
}

int32_t readRegistryInt(std::string_view keyPath, std::string_view valueName) {
    const std::optional<SettingValue> stored = settingsStore().read(keyPath, valueName);
    if (!stored || stored->type != SettingType::String) return 0;
    std::string text = stored->text();
    if (text.size() > 255) text.resize(255);
    return static_cast<int32_t>(parseDecimalInteger(text));
}
