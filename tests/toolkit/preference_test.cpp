#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/settings_store.h"
#include "toolkit/preference_manager.h"

namespace {

constexpr const char* kKey = "SOFTWARE\\Plavik\\Tovan\\1.00";
constexpr uint16_t kPotMode = 177;
constexpr uint16_t kTopmost = 178;
constexpr uint16_t kName = 300;
constexpr uint16_t kGain = 301;
constexpr uint16_t kPlacement = 302;

class TestPreferences : public CCPreferenceManager {
public:
    TestPreferences() : CCPreferenceManager(kKey) {}
    void createPreferences() override {
        addPreference(std::make_unique<CCIntPreference>(kPotMode, "PotMode", this, 2, 9));
        addPreference(std::make_unique<CCIntPreference>(kTopmost, "Topmost", this, 0));
        addPreference(std::make_unique<CCStringPreference>(kName, "Name", this, "Tovan"));
        addPreference(std::make_unique<CCFloatPreference>(kGain, "Gain", this, 1.5f));
        const uint8_t placement[4] = {1, 2, 3, 4};
        addPreference(std::make_unique<CCDataPreference>(kPlacement, "Placement", this, placement, 4));
    }
    void preferenceChanged(CCPreference* preference) override { changed.push_back(preference->id); }
    std::vector<uint16_t> changed;
};

// Another part of the program that only cares about the pot mode.
class PotListener : public CCPreferenceManager {
public:
    PotListener() : CCPreferenceManager(kKey) {}
    void createPreferences() override {
        addPreference(std::make_unique<CCIntPreference>(kPotMode, "PotMode", this, 0));
    }
    void preferenceChanged(CCPreference* preference) override { seen.push_back(preference->intValue()); }
    std::vector<int32_t> seen;
};

class Preferences : public ::testing::Test {
protected:
    Preferences() : previous(setSettingsStore(&store)) {}
    ~Preferences() override { setSettingsStore(previous); }

    std::string storedText(const char* name) {
        auto value = store.read(kKey, name);
        return value && value->type == SettingType::String ? value->text() : "<none>";
    }

    MemorySettingsStore store;
    SettingsStore* previous;
};

} // namespace

TEST_F(Preferences, LoadingWritesDefaultsForMissingValues) {
    TestPreferences preferences;
    preferences.createPreferences();
    preferences.loadAll();
    EXPECT_EQ(storedText("PotMode"), "2");
    EXPECT_EQ(storedText("Name"), "Tovan");
    EXPECT_EQ(storedText("Gain"), "1.500000");
    EXPECT_EQ(store.read(kKey, "Placement"), SettingValue::binary({1, 2, 3, 4}));
    EXPECT_EQ(preferences.changed, (std::vector<uint16_t>{kPotMode, kTopmost, kName, kGain, kPlacement}));
    EXPECT_EQ(preferences.getUserFlag(kPotMode), 9);
    EXPECT_EQ(preferences.getUserFlag(kTopmost), 0);
}

TEST_F(Preferences, LoadingParsesStoredTextsAndRejectsWrongTypes) {
    store.write(kKey, "PotMode", SettingValue::string("12ab"));
    store.write(kKey, "Topmost", SettingValue::binary({'1'}));
    store.write(kKey, "Name", SettingValue::string(std::string(300, 'x')));
    store.write(kKey, "Gain", SettingValue::string("0.25"));
    store.write(kKey, "Placement", SettingValue::string("not binary"));

    TestPreferences preferences;
    preferences.createPreferences();
    preferences.loadAll();
    EXPECT_EQ(preferences.getInt(kPotMode), 12);
    EXPECT_EQ(preferences.getInt(kTopmost), 0);
    EXPECT_EQ(storedText("Topmost"), "0"); // rewritten with its default
    EXPECT_EQ(std::strlen(preferences.getText(kName)), 255u);
    EXPECT_FLOAT_EQ(preferences.find(kGain)->floatValue(), 0.25f);
    EXPECT_EQ(store.read(kKey, "Placement"), SettingValue::binary({1, 2, 3, 4}));
}

TEST_F(Preferences, SettingSavesAndTellsEveryManagerWithTheId) {
    TestPreferences preferences;
    preferences.createPreferences();
    PotListener listener;
    listener.createPreferences();

    ASSERT_TRUE(preferences.setInt(kPotMode, 0, true));
    EXPECT_EQ(storedText("PotMode"), "0");
    EXPECT_EQ(preferences.changed, std::vector<uint16_t>{kPotMode});
    EXPECT_EQ(listener.seen, std::vector<int32_t>{0});

    ASSERT_TRUE(preferences.setInt(kPotMode, 1, false));
    EXPECT_EQ(storedText("PotMode"), "0"); // not saved
    EXPECT_EQ(listener.getInt(kPotMode), 1);

    preferences.setInt(kTopmost, 1, true);
    EXPECT_EQ(listener.seen.size(), 2u); // 178 is none of its business

    EXPECT_FALSE(preferences.setInt(999, 1, true));
    EXPECT_FALSE(preferences.setFloat(999, 1.0f, true));
    EXPECT_FALSE(preferences.setData(999, nullptr, true, 0));
    EXPECT_EQ(preferences.getInt(999), 0);
    EXPECT_EQ(preferences.getText(999), nullptr);
    EXPECT_EQ(preferences.getData(kPotMode), nullptr);
}

TEST_F(Preferences, DataPreferencesResizeOnlyWhenAskedTo) {
    TestPreferences preferences;
    const uint8_t fixed[4] = {9, 8, 7, 6};
    CCDataPreference* placement = static_cast<CCDataPreference*>(
        preferences.addPreference(std::make_unique<CCDataPreference>(1, "Fixed", &preferences, fixed, 4)));
    const uint8_t longer[6] = {1, 2, 3, 4, 5, 6};
    placement->setFromData(longer, true, 6);
    EXPECT_EQ(placement->size, 6);
    EXPECT_EQ(store.read(kKey, "Fixed"), SettingValue::binary({1, 2, 3, 4, 5, 6}));

    auto* variable = static_cast<CCDataPreference*>(preferences.addPreference(
        std::make_unique<CCDataPreference>(2, "Variable", &preferences, nullptr, 0)));
    EXPECT_TRUE(variable->isVariableSize());
    store.write(kKey, "Variable", SettingValue::binary(std::vector<uint8_t>(5000, 0xAB)));
    preferences.load(*variable);
    EXPECT_EQ(variable->size, 4096); // the read buffer's size
    EXPECT_EQ(variable->data()[4095], 0xAB);
}

TEST_F(Preferences, ReadRegistryIntWantsAString) {
    store.write("SOFTWARE\\Plavik\\Firmware Updater", "count", SettingValue::string("42 tries"));
    store.write("SOFTWARE\\Plavik\\Firmware Updater", "number", SettingValue::number(42));
    EXPECT_EQ(readRegistryInt("SOFTWARE\\Plavik\\Firmware Updater", "count"), 42);
    EXPECT_EQ(readRegistryInt("SOFTWARE\\Plavik\\Firmware Updater", "number"), 0);
    EXPECT_EQ(readRegistryInt("SOFTWARE\\Plavik\\Nothing", "count"), 0);
}

TEST(PreferenceKinds, TextsAndConversions) {
    CCIntPreference count(1, "Count", nullptr, -17);
    EXPECT_STREQ(count.text(), "-17");
    count.assign(1e12);
    EXPECT_EQ(count.intValue(), 2147483647);
    CCFloatPreference gain(2, "Gain", nullptr, -2.75f);
    EXPECT_STREQ(gain.text(), "-2.750000");
    EXPECT_EQ(gain.intValue(), -2);
    CCStringPreference name(3, "A value name that is much longer than thirty-three", nullptr, "42");
    EXPECT_EQ(std::strlen(name.valueName), 33u);
    EXPECT_EQ(name.intValue(), 42);
}
