#include <gtest/gtest.h>

#include "platform/headless/scripted_dialogs.h"
#include "toolkit/app_strings.h"
#include "toolkit/dialogs.h"
#include "toolkit/file_filters.h"
#include "toolkit/path_text.h"
#include "toolkit/version_text.h"

namespace {

const std::vector<std::string> kExtensions{"tovan", "tovan_all"};
const std::vector<std::string> kDescriptions{"Tovan preset", "Tovan backup"};

class Dialogs : public ::testing::Test {
protected:
    Dialogs() : previous(setDialogHost(&dialogs)) { setAppString(kAppDisplayName, "Tovan"); }
    ~Dialogs() override { setDialogHost(previous); }
    ScriptedDialogs dialogs;
    DialogHost* previous;
};

} // namespace

TEST(FileFilters, ListPairsDisplayAndPatternThenEnds) {
    const auto list = fileFilterList(kExtensions, kDescriptions);
    EXPECT_EQ(list, (std::vector<std::string>{"Tovan preset (*.tovan)", "*.tovan",
                                              "Tovan backup (*.tovan_all)", "*.tovan_all", ""}));
    EXPECT_EQ(filterExtension(list, 1), "tovan");
    EXPECT_EQ(filterExtension(list, 2), "tovan_all");
    EXPECT_EQ(filterExtension(list, 3), "");
    EXPECT_EQ(filterExtension(list, 0), "");
}

TEST(FileFilters, ChangingTheFilterChangesOnlyTheLastExtension) {
    EXPECT_EQ(nameForFilterChange("Backup.tovan", "tovan_all"), "Backup.tovan_all");
    EXPECT_EQ(nameForFilterChange("My.old.tovan", "tovan_all"), "My.old.tovan_all");
    EXPECT_EQ(nameForFilterChange("Ends in dot.", "tovan"), "Ends in dot.tovan");
    EXPECT_EQ(nameForFilterChange("No dot", "tovan"), "No dot");
    // The name a save dialog writes: the filter's extension is added to a name
    // without a dot and takes the place of another one.
    EXPECT_EQ(savedFileName("/home/me/Backup", "tovan_all"), "/home/me/Backup.tovan_all");
    EXPECT_EQ(savedFileName("/home/me.d/Backup.old", "tovan_all"), "/home/me.d/Backup.tovan_all");
    EXPECT_EQ(savedFileName("/home/me.d/Backup", "tovan_all"), "/home/me.d/Backup.tovan_all");
    EXPECT_EQ(savedFileName("/home/me/Fat.tovan", "tovan"), "/home/me/Fat.tovan");
    EXPECT_EQ(savedFileName("/home/me/Fat.tovan", "tovan_all"), "/home/me/Fat.tovan_all");
    EXPECT_EQ(savedFileName("My.old.txt", "tovan"), "My.old.tovan");
    EXPECT_EQ(savedFileName("/home/me/Any.thing", "*"), "/home/me/Any.thing");
    EXPECT_EQ(savedFileName("/home/me/Any.thing", ""), "/home/me/Any.thing");
}

TEST(VersionText, PedalAndFourPartForms) {
    EXPECT_EQ(pedalVersionText(versionWord(1, 5, 0, 0)), "1.50");
    EXPECT_EQ(pedalVersionText(versionWord(1, 5, 0, 3)), "1.50beta03");
    EXPECT_EQ(fourPartVersionText(versionWord(1, 5, 0, 0)), "1.5.0");
    EXPECT_EQ(fourPartVersionText(versionWord(1, 5, 0, 3), {.beta = true, .demo = true}),
              "1.5.0.3 BETA Demo");
    EXPECT_EQ(fourPartVersionText(versionWord(255, 15, 15, 65535)), "255.15.15.65535");
    EXPECT_EQ(deviceVersionText(1, 5, 0), "1.5.00");
}

TEST(PathText, FolderOfFollowsQuotesAndSpaces) {
    EXPECT_EQ(folderOf("/home/me/presets/Wah.tovan", false), "/home/me/presets");
    EXPECT_EQ(folderOf("  \"/opt/My Tools/updater\" -path:x", true), "/opt/My Tools");
    EXPECT_EQ(folderOf("/usr/bin/updater -id:/x/y", true), "/usr/bin");
    EXPECT_EQ(folderOf("/usr/bin/updater -id:/x/y", false), "/usr/bin/updater -id:/x");
    EXPECT_EQ(folderOf("/updater", false), "/");
    EXPECT_EQ(folderOf("updater", false), "");
    EXPECT_EQ(appendSlash("/a"), "/a/");
    EXPECT_EQ(appendSlash("/a/"), "/a/");
    EXPECT_EQ(baseNameOf("/a/b.c/My Preset.tovan"), "My Preset");
    EXPECT_EQ(baseNameOf("plain"), "plain");
}

TEST_F(Dialogs, MessageBoxesCarryTheDisplayName) {
    EXPECT_FALSE(confirmWarning("Sure?")); // nothing scripted: Cancel
    dialogs.answerNext(MessageAnswer::Yes);
    EXPECT_TRUE(askYesNo("Store?"));
    EXPECT_FALSE(askYesNo("Again?"));
    showError("Broken");
    showInfo("Done");
    ASSERT_EQ(dialogs.shown.size(), 5u);
    EXPECT_EQ(dialogs.shown[0].title, "Tovan Warning");
    EXPECT_EQ(dialogs.shown[1].title, "Tovan");
    EXPECT_EQ(dialogs.shown[3].title, "Tovan Error");
    EXPECT_EQ(dialogs.shown[4].title, "Tovan Info");
    EXPECT_EQ(dialogs.shown[4].text, "Done");
    EXPECT_EQ(dialogs.shown[4].style, MessageStyle::Info);
}

TEST_F(Dialogs, FileDialogsRememberTheFolderOnlyWhenAsked) {
    std::string folder = "/home/me";
    std::string path = "Tovan Backup";
    dialogs.chooseNext("/media/stick/Tovan Backup.tovan_all");
    ASSERT_TRUE(askSaveFile("Save All (backup)", kExtensions, kDescriptions, folder, path, true));
    EXPECT_EQ(path, "/media/stick/Tovan Backup.tovan_all");
    EXPECT_EQ(folder, "/media/stick");
    EXPECT_EQ(dialogs.fileRequests[0].proposedName, "Tovan Backup");
    EXPECT_TRUE(dialogs.fileRequests[0].save);

    path = "left over";
    EXPECT_FALSE(askOpenFile("Open File", kExtensions, kDescriptions, folder, path, false)); // cancelled
    EXPECT_EQ(folder, "/media/stick");
    EXPECT_EQ(dialogs.fileRequests[1].proposedName, "");
    EXPECT_FALSE(dialogs.fileRequests[1].save);

    dialogs.chooseNext("/tmp/x.tovan");
    ASSERT_TRUE(askOpenFile("Open File", kExtensions, kDescriptions, folder, path, false));
    EXPECT_EQ(folder, "/media/stick");
    EXPECT_EQ(dialogs.fileRequests[2].defaultExtension, "");
}

TEST_F(Dialogs, TheHostAddsTheDefaultExtensionBeforeAskingAboutReplacing) {
    // A host that writes exactly the name it returns: nothing is added after it.
    class ExactHost : public ScriptedDialogs {
    public:
        std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
            fileRequests.push_back(request);
            return std::string("/home/me/Backup");
        }
    } host;
    DialogHost* previous = setDialogHost(&host);
    std::string folder;
    std::string path = "Tovan Backup";
    ASSERT_TRUE(askSaveFile("Save All (backup)", kExtensions, kDescriptions, folder, path, true));
    setDialogHost(previous);
    EXPECT_EQ(host.fileRequests[0].defaultExtension, kExtensions[0]);
    EXPECT_EQ(path, "/home/me/Backup") << "the name the host asked about is the name written";

    EXPECT_EQ(withDefaultExtension("/home/me/Backup", "tovan_all"), "/home/me/Backup.tovan_all");
    EXPECT_EQ(withDefaultExtension("/home/me.d/Backup.old", "tovan_all"), "/home/me.d/Backup.old");
    EXPECT_EQ(withDefaultExtension("/home/me.d/Backup", "tovan_all"), "/home/me.d/Backup.tovan_all");
}

TEST(WindowPlacement, CentresKeepTheSize) {
    EXPECT_EQ(centreOnScreen({10, 20, 650, 670}, 1280, 1024), (CCRect{320, 187, 960, 837}));
    EXPECT_EQ(centreOnScreen({0, 0, 641, 651}, 1281, 1025), (CCRect{320, 187, 961, 838}));
}

TEST_F(Dialogs, KnownFoldersAndDeletion) {
    EXPECT_FALSE(knownFolder(KnownFolder::ApplicationData, true).has_value());
    dialogs.setFolder(KnownFolder::ApplicationData, "/home/me/.local/share");
    EXPECT_EQ(knownFolder(KnownFolder::ApplicationData, true), "/home/me/.local/share/");
    EXPECT_EQ(knownFolder(KnownFolder::ApplicationData, false), "/home/me/.local/share");
    dialogs.answerNext(MessageAnswer::Yes);
    EXPECT_TRUE(confirmListDeletion());
    EXPECT_EQ(dialogs.shown.back().text, "Are you sure you want to delete ?");
}
