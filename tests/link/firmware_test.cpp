#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "editor/pedal_questions.h"
#include "link/firmware_update.h"
#include "platform/headless/scripted_dialogs.h"
#include "platform/process/system_launcher.h"
#include "platform/settings_store.h"
#include "resources/resources.h"
#include "toolkit/toolkit.h"

namespace fs = std::filesystem;
using namespace firmware;

namespace {

std::vector<uint8_t> testImage() {
    std::vector<uint8_t> image(106552, 0x5A);
    const uint8_t header[16] = {'P', 'L', 'A', 'V', 'I', 'K', 'F', 'W', 0, 0, 0, 0, 0x1C, 0x23, 0x02, 0x80};
    std::copy(std::begin(header), std::end(header), image.begin());
    return image;
}

class Firmware : public ::testing::Test {
protected:
    Firmware() {
        previousStore = setSettingsStore(&store);
        previousDialogs = setDialogHost(&dialogs);
        previousLauncher = setProcessLauncher(&launcher);
        std::string pattern = (fs::temp_directory_path() / "tovan-firmware-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        dialogs.setFolder(KnownFolder::ApplicationData, folder.string());
        log = folder / "updater.log";
        setenv("TOVAN_FAKE_UPDATER_LOG", log.c_str(), 1);
        unsetenv("TOVAN_FAKE_UPDATER_EXIT");
    }
    ~Firmware() override {
        setSettingsStore(previousStore);
        setDialogHost(previousDialogs);
        setProcessLauncher(previousLauncher);
        std::error_code error;
        fs::remove_all(folder, error);
    }

    void registerUpdater() {
        store.write(kUpdaterKey, kUpdaterValue, SettingValue::string(TOVAN_FAKE_UPDATER));
    }
    std::vector<std::string> loggedArguments() {
        std::ifstream in(log);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    std::vector<std::string> errorsShown() {
        std::vector<std::string> texts;
        for (const auto& shown : dialogs.shown)
            if (shown.style == MessageStyle::Error) texts.push_back(shown.text);
        return texts;
    }

    MemorySettingsStore store;
    ScriptedDialogs dialogs;
    SystemLauncher launcher;
    fs::path folder;
    fs::path log;
    int updateModeRequests = 0;
    std::function<bool()> enterUpdateMode = [this] {
        ++updateModeRequests;
        return true;
    };

private:
    SettingsStore* previousStore;
    DialogHost* previousDialogs;
    ProcessLauncher* previousLauncher;
};

} // namespace

TEST(FirmwareVersion, OnlyOlderPedalsAreOffered) {
    EXPECT_EQ(versionNumber(kCarriedVersion), 66816u);
    EXPECT_TRUE(updateOffered({1, 4, 99}));
    EXPECT_TRUE(updateOffered({0, 0, 0}));
    EXPECT_FALSE(updateOffered({1, 5, 0}));
    EXPECT_FALSE(updateOffered({2, 0, 0}));
    EXPECT_FALSE(updateOffered({}));
    EXPECT_EQ(offerText({1, 4, 9}),
              "There is a firmware update (version 1.5.00) available for your Tovan. \n\nDo you "
              "want to upgrade the firmware now?\n\nCurrent firmware version =  1.4.09");
}

TEST(FirmwareVersion, FileNameAndCommandLine) {
    EXPECT_EQ(imageFileName(), "Tovan_firmware_01.05.00.pfu");
    EXPECT_EQ(updaterCommandLine("/home/me/Tovan_firmware_01.05.00.pfu"),
              " -path:\"/home/me/Tovan_firmware_01.05.00.pfu\" -id:vid_231c&pid_8002");
    EXPECT_EQ(splitCommandLine(updaterCommandLine("/a b/c.pfu")),
              (std::vector<std::string>{"-path:/a b/c.pfu", "-id:vid_231c&pid_8002"}));
    EXPECT_EQ(splitCommandLine(" \"\" x  y"), (std::vector<std::string>{"", "x", "y"}));
}

TEST_F(Firmware, OnlyAStringRegistrationCounts) {
    EXPECT_FALSE(isUpdaterInstalled());
    store.write(kUpdaterKey, kUpdaterValue, SettingValue::number(1));
    EXPECT_FALSE(isUpdaterInstalled());
    store.write(kUpdaterKey, kUpdaterValue, SettingValue::binary({'/', 'x'}));
    EXPECT_FALSE(isUpdaterInstalled());
    registerUpdater();
    EXPECT_TRUE(isUpdaterInstalled());
}

TEST_F(Firmware, AcceptedUpdateRunsTheUpdaterAndDeletesTheImage) {
    registerUpdater();
    dialogs.answerNext(MessageAnswer::Yes);
    asking::offerFirmware({1, 4, 99}, testImage(), enterUpdateMode);
    EXPECT_EQ(updateModeRequests, 1);
    EXPECT_TRUE(errorsShown().empty());
    const std::string image = (folder / "Tovan_firmware_01.05.00.pfu").string();
    EXPECT_EQ(loggedArguments(), (std::vector<std::string>{"-path:" + image, "-id:vid_231c&pid_8002"}));
    EXPECT_FALSE(fs::exists(image));
}

TEST_F(Firmware, ABlockedImageNameGetsAOneAppended) {
    registerUpdater();
    const fs::path blocked = folder / "Tovan_firmware_01.05.00.pfu";
    fs::create_directory(blocked); // a name that cannot be created as a file
    dialogs.answerNext(MessageAnswer::Yes);
    asking::offerFirmware({1, 0, 0}, testImage(), enterUpdateMode);
    EXPECT_EQ(loggedArguments().front(), "-path:" + blocked.string() + "1");
    EXPECT_FALSE(fs::exists(blocked.string() + "1"));
    EXPECT_TRUE(errorsShown().empty());
}

TEST_F(Firmware, NoAnswerNoOfferAndNoFreeNameDoNothing) {
    registerUpdater();
    asking::offerFirmware({1, 4, 99}, testImage(), enterUpdateMode); // the user says No
    asking::offerFirmware({1, 5, 0}, testImage(), enterUpdateMode);  // not offered: no question
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(updateModeRequests, 0);

    std::string name = (folder / "Tovan_firmware_01.05.00.pfu").string();
    for (int i = 0; i < kImageFileAttempts; ++i, name += '1')
        fs::create_directory(name);
    dialogs.answerNext(MessageAnswer::Yes);
    asking::offerFirmware({1, 4, 99}, testImage(), enterUpdateMode);
    EXPECT_EQ(updateModeRequests, 0);
}

TEST_F(Firmware, FailuresAreReported) {
    asking::updateFirmware("/nowhere.pfu", enterUpdateMode);
    EXPECT_EQ(errorsShown(), std::vector<std::string>{std::string(kUpdaterMissingText)});
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{std::string(kUpdaterDownloadAddress)});
    EXPECT_EQ(updateModeRequests, 0);

    registerUpdater();
    asking::updateFirmware("/nowhere.pfu", [] { return false; });
    EXPECT_EQ(errorsShown().back(), kUpdateModeFailedText);

    const auto image = folder / "manual.pfu";
    std::ofstream(image, std::ios::binary).write(reinterpret_cast<const char*>(testImage().data()), 106552);
    setenv("TOVAN_FAKE_UPDATER_EXIT", "1", 1);
    asking::updateFirmware(image.string(), enterUpdateMode);
    EXPECT_EQ(errorsShown().back(), kUpdateFailedText);
    EXPECT_TRUE(fs::exists(image)); // a file the user picked is not deleted

    store.write(kUpdaterKey, kUpdaterValue, SettingValue::string("/no/such/updater"));
    asking::updateFirmware(image.string(), enterUpdateMode);
    EXPECT_EQ(errorsShown().back(), kUpdateFailedText);
}

TEST_F(Firmware, OnlyAWholeImageIsWrittenOrHandedOn) {
    registerUpdater();
    std::vector<uint8_t> shortImage = testImage();
    shortImage.pop_back();
    const std::string path = (folder / "short.pfu").string();
    EXPECT_FALSE(writeImageFile(path, shortImage).has_value());
    EXPECT_FALSE(writeImageFile(path, {}).has_value());
    EXPECT_FALSE(fs::exists(path));
    dialogs.answerNext(MessageAnswer::Yes);
    asking::offerFirmware({1, 4, 99}, {}, enterUpdateMode); // no image carried: nothing is offered
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(updateModeRequests, 0);

    // The program's generated resources carry the whole image.
    setProgramResources(&tovanProgramResources());
    const std::span<const uint8_t> carried = carriedImage();
    setProgramResources(nullptr);
    ASSERT_EQ(carried.size(), kImageSize);
    EXPECT_EQ(std::string(carried.begin(), carried.begin() + 8), "PLAVIKFW");
}
