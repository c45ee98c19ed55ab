// The GTK window and dialogs on a real (virtual) X server: what other threads
// left queued for a window that has gone, and the name the save dialog writes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/gtk/gtk_dialogs.h"
#include "platform/gtk/gtk_main_window.h"
#include "platform/gtk/testing/gtk_test_driver.h"
#include "tests/platform/temp_folder.h"
#include "toolkit/window_client.h"

namespace {

class GtkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gtktest::start()) << "GTK needs an X display (run under xvfb-run)"; }
    static void drainLoop() { gtktest::drainLoop(); }
};

// A client that only counts the composed pixels asked of it.
class CountingClient : public CCWindowClient {
public:
    bool leftPressed(const CCPointerEvent&) override { return false; }
    void leftReleased(const CCPointerEvent&) override {}
    void leftDoubleClicked(const CCPointerEvent&) override {}
    void rightPressed(const CCPointerEvent&) override {}
    void rightReleased(const CCPointerEvent&) override {}
    void rightDoubleClicked(const CCPointerEvent&) override {}
    void pointerMoved(const CCPointerEvent&) override {}
    bool wheelTurned(const CCPointerEvent&) override { return false; }
    void keyPressed(int32_t) override {}
    void keyReleased(int32_t) override {}
    void timerFired(uint32_t) override {}
    void focusLost() override {}
    void captureLost() override {}
    void filesDropped(const std::vector<std::string>&) override {}
    bool closeRequested() override { return true; }
    bool copyComposed(CCRect, uint8_t*, int32_t) override {
        ++copies;
        return true;
    }
    int copies = 0;
};

TEST_F(GtkTest, WorkQueuedFromAnotherThreadForAWindowThatHasGoneNeverRuns) {
    auto window = std::make_unique<GtkMainWindow>(64, 64, "gone");
    std::atomic<int> ran{0};
    std::thread([&] { window->runOnUiThread([&] { ++ran; }); }).join();
    window.reset();
    drainLoop();
    EXPECT_EQ(ran.load(), 0);

    // While the window is there, the work runs on the loop.
    window = std::make_unique<GtkMainWindow>(64, 64, "there");
    std::thread([&] { window->runOnUiThread([&] { ++ran; }); }).join();
    drainLoop();
    EXPECT_EQ(ran.load(), 1);
}

TEST_F(GtkTest, APresentStillWaitingWhenTheWindowGoesNeverRuns) {
    CountingClient client;
    auto window = std::make_unique<GtkMainWindow>(64, 64, "presents");
    window->setClient(&client);
    // Asked from another thread, the present waits for the loop; the window's
    // own full copy then takes it, and the waiting callback stays queued.
    std::thread([&] { window->requestPresent({0, 0, 8, 8}); }).join();
    window->updateShape();
    const int copied = client.copies;
    EXPECT_GE(copied, 1);
    window.reset();
    drainLoop(); // a callback left behind would run on the freed window
    EXPECT_EQ(client.copies, copied);

    // And with the window there, a present from another thread is copied.
    window = std::make_unique<GtkMainWindow>(64, 64, "presents");
    window->setClient(&client);
    std::thread([&] { window->requestPresent({0, 0, 8, 8}); }).join();
    drainLoop();
    EXPECT_EQ(client.copies, copied + 1);
    window->setClient(nullptr);
}

// Presents asked from another thread while the loop is busy (a fade pass
// changing many objects) reach the screen together: one frame, each
// rectangle copied once.
TEST_F(GtkTest, PresentsAskedTogetherFromAnotherThreadAreOneFrame) {
    tovan::test::TempFolder folder;
    const std::string log = folder.path() + "/frames.log";
    ASSERT_EQ(::setenv("TOVAN_FRAME_LOG", log.c_str(), 1), 0);
    CountingClient client;
    auto window = std::make_unique<GtkMainWindow>(64, 64, "burst");
    ::unsetenv("TOVAN_FRAME_LOG");
    window->setClient(&client);
    auto frames = [&](std::string_view cause) {
        std::ifstream in(log);
        int count = 0;
        for (std::string line; std::getline(in, line);)
            count += line.starts_with("frame ") && (cause.empty() || line.ends_with(cause));
        return count;
    };
    window->show();
    // On screen once it has drawn its first frame.
    for (int i = 0; i < 400 && frames("") == 0; ++i) {
        drainLoop();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GT(frames(""), 0) << "the window never came on screen";
    drainLoop();
    auto idleFrames = [&] { return frames(" idle"); };
    const int framesBefore = idleFrames();
    const int copiesBefore = client.copies;
    std::thread([&] {
        window->requestPresent({0, 0, 8, 8});
        window->requestPresent({40, 40, 48, 48});
        window->requestPresent({20, 0, 24, 60});
    }).join();
    drainLoop();
    EXPECT_EQ(client.copies - copiesBefore, 3);
    EXPECT_EQ(idleFrames() - framesBefore, 1);
    window->setClient(nullptr);
}

class SaveDialogTest : public GtkTest {
protected:
    // Runs the save dialog for a preset file, the player typing a name and
    // answering any question as the player says.
    std::optional<std::string> save(gtktest::DialogPlayer& player) {
        FileDialogRequest request;
        request.save = true;
        request.title = "Export Preset";
        request.extensions = {"tovan", "tovan_all"};
        request.descriptions = {"Tovan preset", "Tovan backup"};
        request.folder = folder.path();
        request.proposedName = "Fat";
        request.defaultExtension = "tovan";
        GtkDialogHost host;
        std::optional<std::string> chosen = host.chooseFile(request);
        drainLoop();
        EXPECT_TRUE(player.typedName());
        return chosen;
    }
    std::string inFolder(const std::string& name) const { return folder.path() + "/" + name; }
    tovan::test::TempFolder folder;
};

TEST_F(SaveDialogTest, TheWrittenNameTakesTheFilterExtensionInPlaceOfAnother) {
    const std::pair<const char*, const char*> cases[] = {
        {"Fat", "Fat.tovan"},
        {"Fat.old", "Fat.tovan"},
        {"Fat.tovan", "Fat.tovan"},
        {"My.old.txt", "My.old.tovan"},
        {"Ends in dot.", "Ends in dot.tovan"},
    };
    for (const auto& [typed, written] : cases) {
        gtktest::DialogPlayer player(typed, false);
        EXPECT_EQ(save(player), std::optional<std::string>(inFolder(written))) << typed;
        EXPECT_TRUE(player.questions().empty()) << typed << ": nothing to replace";
    }
}

TEST_F(SaveDialogTest, TheReplaceQuestionIsAboutTheNameThatIsWritten) {
    // One player at a time: each plays every dialog while it lives.
    std::ofstream(inFolder("Fat.tovan")) << "old";
    {
        gtktest::DialogPlayer refused("Fat.old", false);
        EXPECT_EQ(save(refused), std::nullopt);
        ASSERT_EQ(refused.questions().size(), 1u);
        EXPECT_NE(refused.questions().front().find("\"Fat.tovan\" already exists"), std::string::npos)
            << refused.questions().front();
    }
    {
        gtktest::DialogPlayer agreed("Fat.old", true);
        EXPECT_EQ(save(agreed), std::optional<std::string>(inFolder("Fat.tovan")));
        ASSERT_EQ(agreed.questions().size(), 1u) << "asked once, about the file that is there";
        EXPECT_NE(agreed.questions().front().find("Fat.tovan"), std::string::npos);
    }
    {
        // A typed name that exists but is not what is written asks nothing.
        std::ofstream(inFolder("Other.old")) << "old";
        gtktest::DialogPlayer other("Other.old", false);
        EXPECT_EQ(save(other), std::optional<std::string>(inFolder("Other.tovan")));
        EXPECT_TRUE(other.questions().empty());
    }
}

} // namespace
