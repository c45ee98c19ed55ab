#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/settings/file_settings_store.h"
#include "platform/settings/settings_file_format.h"

namespace fs = std::filesystem;

namespace {

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "tovan-settings-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TemporaryFolder() {
        std::error_code error;
        fs::remove_all(path, error);
    }
    fs::path path;
};

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

constexpr const char* kKey = "SOFTWARE\\Plavik\\Tovan\\1.00";

} // namespace

TEST(SettingsFileFormat, EveryValueSurvivesARoundTrip) {
    SettingsFileValues values;
    values.emplace("plain", SettingValue::string("/usr/bin/updater"));
    values.emplace("odd = name%\n", SettingValue::string("line one\nline two = 100%\t\x7f"));
    values.emplace("blob", SettingValue::binary({0x00, 0xFF, 0x10, 0x0A}));
    values.emplace("empty", SettingValue::binary({}));
    values.emplace("count", SettingValue::number(4294967295u));
    const std::string text = formatSettingsFile(values);
    const auto parsed = parseSettingsFile(text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, values);
    EXPECT_EQ(parsed->at("count").asNumber(), 4294967295u);
    EXPECT_EQ(parseSettingsFile("a=s:x\r\n\n# note\nb=n:7\n")->size(), 2u);
}

TEST(SettingsFileFormat, DamagedTextHoldsNoValues) {
    for (const char* damaged :
         {"novalue\n", "=s:x\n", "a=x:1\n", "a=s\n", "a=b:abc\n", "a=b:zz\n", "a=n:-1\n", "a=n:12x\n",
          "a=s:bad%4\n", "a=s:bad%g1\n", "good=s:1\n\x01\x02\x03"}) {
        EXPECT_FALSE(parseSettingsFile(damaged).has_value()) << damaged;
    }
}

TEST(FileSettingsStore, KeyPathsBecomeFilesInsideTheFolder) {
    FileSettingsStore store("/cfg");
    EXPECT_EQ(store.fileFor(kKey), fs::path("/cfg/Plavik/Tovan/1.00.ini"));
    EXPECT_EQ(store.fileFor("software\\Plavik\\Firmware Updater"),
              fs::path("/cfg/Plavik/Firmware Updater.ini"));
    EXPECT_EQ(store.fileFor("SOFTWARE\\..\\..\\etc\\passwd"), fs::path("/cfg/_/_/etc/passwd.ini"));
}

TEST(FileSettingsStore, WritesAreTypedAndPersistAcrossInstances) {
    TemporaryFolder folder;
    {
        FileSettingsStore store(folder.path);
        EXPECT_FALSE(store.hasKey(kKey));
        EXPECT_FALSE(store.read(kKey, "PotMode").has_value());
        ASSERT_TRUE(store.write(kKey, "PotMode", SettingValue::string("2")));
        ASSERT_TRUE(store.write(kKey, "Placement", SettingValue::binary({1, 2, 3})));
        ASSERT_TRUE(store.write(kKey, "PotMode", SettingValue::string("3")));
    }
    FileSettingsStore again(folder.path);
    EXPECT_TRUE(again.hasKey(kKey));
    EXPECT_EQ(again.read(kKey, "PotMode"), SettingValue::string("3"));
    EXPECT_EQ(again.read(kKey, "Placement"), SettingValue::binary({1, 2, 3}));
    // Only the settings file is left behind: no temporary files.
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder.path / "Plavik" / "Tovan")) {
        EXPECT_EQ(entry.path().filename(), "1.00.ini");
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

TEST(FileSettingsStore, ADamagedFileReadsAsEmptyAndIsKeptAside) {
    TemporaryFolder folder;
    FileSettingsStore store(folder.path);
    const fs::path file = store.fileFor(kKey);
    fs::create_directories(file.parent_path());
    const std::string garbage = "PotMode=s:2\n\x89PNG garbage without equals\n";
    std::ofstream(file, std::ios::binary) << garbage;

    EXPECT_FALSE(store.read(kKey, "PotMode").has_value());
    EXPECT_EQ(contents(file), garbage); // reading never changes it

    ASSERT_TRUE(store.write(kKey, "Topmost", SettingValue::string("1")));
    EXPECT_EQ(contents(fs::path(file.string() + ".damaged")), garbage);
    EXPECT_EQ(store.read(kKey, "Topmost"), SettingValue::string("1"));
    EXPECT_FALSE(store.read(kKey, "PotMode").has_value());
}

TEST(FileSettingsStore, AFolderThatCannotBeWrittenFailsTheWrite) {
    TemporaryFolder folder;
    const fs::path blocker = folder.path / "Plavik";
    std::ofstream(blocker) << "a file where a folder should be";
    FileSettingsStore store(folder.path);
    EXPECT_FALSE(store.write(kKey, "PotMode", SettingValue::string("1")));
    EXPECT_FALSE(store.read(kKey, "PotMode").has_value());
}

TEST(MemorySettingsStore, IsTheDefaultUntilAStoreIsInstalled) {
    MemorySettingsStore memory;
    SettingsStore* previous = setSettingsStore(&memory);
    settingsStore().write("K", "v", SettingValue::number(7));
    EXPECT_EQ(memory.read("K", "v")->asNumber(), 7u);
    EXPECT_FALSE(SettingValue::string("7").asNumber().has_value());
    setSettingsStore(previous);
}
