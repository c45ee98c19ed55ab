// What the link's parts do on their own, without a player to ask: a link
// with no questions keeps the edits, the firmware offer falls due once per
// full reading, a readable backup is told apart from other files, and an
// update's failures come back as results with nothing shown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "link/firmware_update.h"
#include "link/preset_file_codec.h"
#include "link/tovan_process.h"
#include "pedal_test_support.h"
#include "platform/headless/scripted_dialogs.h"
#include "platform/process/system_launcher.h"
#include "platform/settings_store.h"

using namespace tovan;
using pedaltest::Frame;

namespace {

constexpr uint8_t W = proto::kWrite;

// A link on one simulated pedal, with dialogs that record anything shown.
class Parts : public ::testing::Test {
protected:
    Parts() : process(backend, &view) {
        previousDialogs = setDialogHost(&dialogs);
        view.process = &process;
        process.exchange().setSleeper([](std::chrono::milliseconds) {});
        process.Open();
    }
    ~Parts() override {
        process.session().attachedPedals().clear();
        setDialogHost(previousDialogs);
    }
    void connect() {
        ASSERT_TRUE(process.session().connect());
        process.session().reloadLocked(true);
        backend.clear();
    }

    pedaltest::LoggingBackend backend;
    pedaltest::RecordingView view;
    TovanProcess process;
    ScriptedDialogs dialogs;
    DialogHost* previousDialogs = nullptr;
};

} // namespace

TEST_F(Parts, WithoutQuestionsTheEditsAreKept) {
    connect();
    process.values().sendParameter(9, 42.0f);
    process.session().pollStatus();
    ASSERT_TRUE(process.presets().isEdited());
    const int32_t loaded = process.presets().loaded();
    backend.clear();

    // The selector, a setlist slot's selection and a step all keep the edits.
    process.values().sendParameter(7, static_cast<float>(loaded + 1));
    process.presets().select(loaded + 2);
    process.presets().step(true);
    EXPECT_TRUE(backend.framesOf(W, 5, 2).empty()) << "no preset selected";
    EXPECT_TRUE(backend.framesOf(W, 5, 10).empty()) << "no revert";
    EXPECT_TRUE(process.presets().isEdited());
    EXPECT_EQ(view.quiet.back(), (std::pair<int32_t, int32_t>{7, loaded})) << "the selector goes back";
    EXPECT_TRUE(dialogs.shown.empty()) << "the link shows nothing";

    // An unedited preset changes without a question.
    process.presets().revert();
    process.presets().select(loaded + 1);
    const auto selected = backend.framesOf(W, 5, 2);
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].data[0], proto::encodePresetCode(static_cast<unsigned>(loaded + 1)));
}

TEST_F(Parts, TheFirmwareOfferFallsDueOncePerFullReading) {
    EXPECT_FALSE(process.firmware().takeCheck()) << "nothing read yet";
    connect();
    EXPECT_TRUE(process.firmware().checkPending());
    EXPECT_TRUE(process.firmware().takeCheck());
    EXPECT_FALSE(process.firmware().takeCheck()) << "once";
    process.session().reloadLocked(false);
    process.session().idle();
    EXPECT_FALSE(process.firmware().takeCheck()) << "a value reload and a poll offer nothing";
    process.session().reloadLocked(true);
    EXPECT_TRUE(process.firmware().takeCheck());

    const std::vector<uint8_t> given(firmware::kImageSize, 0x11);
    process.firmware().setImage(given);
    EXPECT_EQ(process.firmware().imageToOffer().data(), given.data()) << "the image given is the one offered";
    EXPECT_TRUE(process.firmware().enterUpdateMode());
    ASSERT_EQ(backend.framesOf(W, 1, 2).size(), 1u);
}

TEST(PresetFilesPart, OnlyAReadableBackupRestoresThePedal) {
    presetfile::DecodedFile file;
    file.status = presetfile::FileStatus::Readable;
    file.kind = presetfile::FileKind::Backup;
    EXPECT_TRUE(PresetFiles::restoresPedal(file));
    file.kind = presetfile::FileKind::Preset;
    EXPECT_FALSE(PresetFiles::restoresPedal(file));
    file.kind = presetfile::FileKind::Backup;
    file.status = presetfile::FileStatus::NewerFormat;
    EXPECT_FALSE(PresetFiles::restoresPedal(file)) << "a backup of a later format is not restored";
    file.status = presetfile::FileStatus::Foreign;
    EXPECT_FALSE(PresetFiles::restoresPedal(file));
}

TEST(FirmwareResults, AnUpdateSaysWhatHappenedAndShowsNothing) {
    MemorySettingsStore store;
    SettingsStore* previousStore = setSettingsStore(&store);
    ScriptedDialogs dialogs;
    DialogHost* previousDialogs = setDialogHost(&dialogs);
    SystemLauncher launcher;
    ProcessLauncher* previousLauncher = setProcessLauncher(&launcher);
    unsetenv("TOVAN_FAKE_UPDATER_EXIT");
    unsetenv("TOVAN_FAKE_UPDATER_LOG");
    int entered = 0;
    const auto enter = [&entered] {
        ++entered;
        return true;
    };

    EXPECT_EQ(firmware::launchUpdate("/nowhere.pfu", enter), firmware::UpdateResult::UpdaterMissing);
    EXPECT_EQ(entered, 0) << "no update mode without an updater";
    store.write(firmware::kUpdaterKey, firmware::kUpdaterValue, SettingValue::string(TOVAN_FAKE_UPDATER));
    EXPECT_EQ(firmware::launchUpdate("/nowhere.pfu", [] { return false; }),
              firmware::UpdateResult::UpdateModeRefused);
    // An image the updater takes: the header of one, the size of one.
    std::vector<uint8_t> image(firmware::kImageSize, 0x5A);
    const uint8_t header[16] = {'P', 'L', 'A', 'V', 'I', 'K', 'F', 'W', 0, 0, 0, 0, 0x1C, 0x23, 0x02, 0x80};
    std::copy(std::begin(header), std::end(header), image.begin());
    const std::string path = (std::filesystem::temp_directory_path() / "tovan-parts-image.pfu").string();
    ASSERT_TRUE(firmware::writeImageFile(path, image).has_value());
    EXPECT_EQ(firmware::launchUpdate(path, enter), firmware::UpdateResult::Updated);
    EXPECT_EQ(entered, 1);
    setenv("TOVAN_FAKE_UPDATER_EXIT", "1", 1);
    EXPECT_EQ(firmware::launchUpdate(path, enter), firmware::UpdateResult::UpdaterFailed);
    unsetenv("TOVAN_FAKE_UPDATER_EXIT");
    std::filesystem::remove(path);

    EXPECT_EQ(firmware::failureText(firmware::UpdateResult::UpdateModeRefused),
              "Unable to put device into firmware update mode.");
    EXPECT_EQ(firmware::failureText(firmware::UpdateResult::UpdaterFailed), "Firmware Update Failed");
    EXPECT_TRUE(firmware::failureText(firmware::UpdateResult::Updated).empty());
    EXPECT_TRUE(dialogs.shown.empty()) << "the link tells the player nothing";
    EXPECT_TRUE(dialogs.opened.empty());

    setProcessLauncher(previousLauncher);
    setDialogHost(previousDialogs);
    setSettingsStore(previousStore);
}
