// The claim that keeps a second program off a pedal: between processes (a
// child takes it, is refused it, is killed), within one process (every handle
// shares it), and what the scan and the link make of a pedal held elsewhere.
#include "link/hid_device.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "platform/pedal_claim.h"
#include "tests/link/fake_backend.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace tovan {
namespace {

namespace fs = std::filesystem;
using test::FakeBackend;

constexpr const char* kPedal = "hidraw:/dev/hidraw5#vid_231c&pid_0002";

// A runtime folder of the test's own, so that no other program's claims count.
class Claims : public ::testing::Test {
protected:
    Claims() {
        std::string pattern = (fs::temp_directory_path() / "tovan-claims-test-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        const char* previous = std::getenv("XDG_RUNTIME_DIR");
        if (previous != nullptr) previousRuntime = previous;
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
    ~Claims() override {
        for (pid_t child : children) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        if (previousRuntime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", previousRuntime.c_str(), 1);
        std::error_code error;
        fs::remove_all(folder, error);
    }

    // Another program that takes the pedal's claim and keeps it until killed.
    pid_t holdInChild(const std::string& path) {
        int ready[2];
        EXPECT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        if (child == 0) {
            setClaimProgramName("holder");
            const auto claim = claimPedal(path);
            const char answer = claim ? 'y' : 'n';
            if (write(ready[1], &answer, 1) != 1) _exit(2);
            for (;;)
                pause();
        }
        close(ready[1]);
        char answer = 0;
        EXPECT_EQ(read(ready[0], &answer, 1), 1);
        close(ready[0]);
        EXPECT_EQ(answer, 'y') << "the child could not take the claim";
        children.push_back(child);
        return child;
    }

    // Whether another program could take the claim now (it lets go at once).
    bool childCouldClaim(const std::string& path) {
        const pid_t child = fork();
        if (child == 0) _exit(claimPedal(path) ? 0 : 1);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    void killChild(pid_t child) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::erase(children, child);
    }

    std::string folder;
    std::string previousRuntime;
    std::vector<pid_t> children;
};

TEST_F(Claims, ASecondProgramIsRefusedUntilTheFirstIsKilled) {
    const pid_t holder = holdInChild(kPedal);
    ClaimHolder heldBy;
    EXPECT_EQ(claimPedal(kPedal, &heldBy), nullptr);
    EXPECT_EQ(heldBy.program, "holder");
    EXPECT_EQ(heldBy.pid, holder);
    EXPECT_EQ(heldBy.text(), "holder (pid " + std::to_string(holder) + ")");
    ASSERT_TRUE(pedalClaimHolder(kPedal).has_value());
    EXPECT_EQ(pedalClaimHolder(kPedal)->pid, holder);
    // Another pedal is another claim.
    EXPECT_NE(claimPedal("hidraw:/dev/hidraw6#vid_231c&pid_0002"), nullptr);

    // SIGKILL leaves nothing to clean up: the kernel drops the lock.
    killChild(holder);
    EXPECT_FALSE(pedalClaimHolder(kPedal).has_value());
    const auto claim = claimPedal(kPedal, &heldBy);
    ASSERT_NE(claim, nullptr);
    EXPECT_FALSE(childCouldClaim(kPedal));
}

TEST_F(Claims, EveryHandleOfOneProgramSharesTheClaimUntilTheLastLetsGo) {
    auto first = claimPedal(kPedal);
    auto second = claimPedal(kPedal);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_FALSE(pedalClaimHolder(kPedal).has_value()) << "this program's own claim is no obstacle";
    first.reset();
    EXPECT_FALSE(childCouldClaim(kPedal));
    second.reset();
    EXPECT_TRUE(childCouldClaim(kPedal));
}

TEST_F(Claims, ClosedDevicesAndTheirCopiesGiveTheClaimBack) {
    FakeBackend backend;
    backend.shared = true;
    backend.bus->paths = {kPedal};
    CHidDevice current;
    std::vector<CHidDevice> attached;
    ASSERT_EQ(scanDevices(backend, pedalPattern(), current, attached), 1);
    CHidDevice copy = current;
    EXPECT_FALSE(childCouldClaim(kPedal));
    attached.clear();
    current.close();
    EXPECT_FALSE(childCouldClaim(kPedal)) << "the copy still has the pedal";
    copy.close();
    EXPECT_TRUE(childCouldClaim(kPedal));
}

TEST_F(Claims, APedalHeldElsewhereIsListedButNeitherOpenedNorCurrent) {
    FakeBackend backend;
    backend.shared = true;
    const std::string other = "hidraw:/dev/hidraw7#vid_231c&pid_0002";
    backend.bus->paths = {kPedal, other};
    const pid_t holder = holdInChild(kPedal);
    CHidDevice current;
    std::vector<CHidDevice> attached;
    EXPECT_EQ(scanDevices(backend, pedalPattern(), current, attached), 1);
    ASSERT_EQ(attached.size(), 2u);
    EXPECT_EQ(attached[0].path(), kPedal);
    EXPECT_FALSE(attached[0].isOpen());
    ASSERT_TRUE(attached[0].heldBy().has_value());
    EXPECT_EQ(attached[0].heldBy()->pid, holder);
    EXPECT_EQ(current.path(), other) << "the free pedal is used";
    EXPECT_EQ(backend.bus->opens, 2) << "the free pedal and its copy as current; the held one is not opened";
    EXPECT_FALSE(anyHeldPedalFreed(attached));

    killChild(holder);
    EXPECT_TRUE(anyHeldPedalFreed(attached));
    EXPECT_EQ(scanDevices(backend, pedalPattern(), current, attached), 2);
    EXPECT_TRUE(attached[0].isOpen());
    EXPECT_FALSE(attached[0].heldBy().has_value());
}

struct HeldView : PedalView {
    void clearMenu(int32_t tag) override {
        if (tag == kDeviceSelect) menu.clear();
    }
    void addMenuItem(int32_t tag, std::string_view text, std::string_view, int32_t) override {
        if (tag == kDeviceSelect) menu.emplace_back(text);
    }
    void showPedalHeld(std::string_view holder) override { held.emplace_back(holder); }
    std::vector<std::string> menu;
    std::vector<std::string> held;
};

TEST_F(Claims, TheLinkSaysWhoHoldsThePedalAsksItNothingAndTakesItWhenFree) {
    FakeBackend backend;
    backend.shared = true;
    backend.bus->paths = {kPedal};
    const pid_t holder = holdInChild(kPedal);
    HeldView view;
    TovanProcess process(backend, &view);
    process.exchange().setSleeper([](std::chrono::milliseconds) {});
    process.Open();
    process.session().connect();
    process.session().reloadLocked(true);
    EXPECT_FALSE(process.session().isConnected());
    const std::string text = "holder (pid " + std::to_string(holder) + ")";
    EXPECT_EQ(view.menu, std::vector<std::string>{"in use by " + text});
    ASSERT_FALSE(view.held.empty());
    EXPECT_EQ(view.held.back(), text);
    ASSERT_TRUE(process.session().pedalHeldElsewhere().has_value());
    EXPECT_FALSE(process.session().useDevice(0)) << "a held pedal cannot be chosen";
    for (int tick = 0; tick < 3; ++tick)
        process.session().idle();
    EXPECT_TRUE(backend.bus->written.empty()) << "nothing was said to a pedal another program holds";

    killChild(holder);
    process.session().idle();
    EXPECT_TRUE(process.session().isConnected()) << "taken at the first poll after it was let go";
    EXPECT_FALSE(backend.bus->written.empty()) << "and read";
    EXPECT_EQ(view.held.back(), "");
    process.session().attachedPedals().clear();
}

} // namespace
} // namespace tovan
