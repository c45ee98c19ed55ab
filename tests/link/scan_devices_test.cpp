#include "link/hid_device.h"
#include "platform/hid/sim/sim_backend.h"
#include "tests/link/fake_backend.h"

#include <gtest/gtest.h>

namespace tovan {
namespace {

using test::FakeBackend;

std::vector<std::string> pathsOf(const std::vector<CHidDevice>& list) {
    std::vector<std::string> paths;
    for (const CHidDevice& device : list)
        paths.push_back(device.path());
    return paths;
}

std::string pedalName(CHidDevice& device) {
    proto::Payload answer{};
    const auto header = proto::encodeHeader({proto::kRequest, proto::kGroupDevice, proto::device::kName, {}});
    if (!writeReport(device, header) || !readReport(device, answer)) return {};
    return std::string(reinterpret_cast<const char*>(answer.data()));
}

class ScanWithSimulatedPedals : public ::testing::Test {
protected:
    int scan() { return scanDevices(backend, pedalPattern(), current, attached); }

    SimHidBackend backend{2};
    CHidDevice current;
    std::vector<CHidDevice> attached;
};

TEST_F(ScanWithSimulatedPedals, TwoPedalsAreBothOpenedAndTheFirstBecomesCurrent) {
    EXPECT_EQ(scan(), 1);
    EXPECT_EQ(pathsOf(attached), (std::vector{backend.pathOf(0), backend.pathOf(1)}));
    EXPECT_EQ(current.path(), backend.pathOf(0));
    EXPECT_EQ(pedalName(current), "Tovan 1");
    EXPECT_EQ(pedalName(attached[1]), "Tovan 2");
    // The list entry and the current pedal are separate handles on one pedal.
    attached.clear();
    EXPECT_EQ(pedalName(current), "Tovan 1");
}

TEST_F(ScanWithSimulatedPedals, PluggingInKeepsTheCurrentAndUnpluggingMovesOn) {
    ASSERT_EQ(scan(), 1);
    sim::SimOptions third;
    third.name = "Tovan 3";
    third.serial = 3;
    const size_t added = backend.plug(std::make_unique<sim::SimPedal>(third));
    EXPECT_EQ(scan(), 2);
    EXPECT_EQ(current.path(), backend.pathOf(0));
    EXPECT_EQ(pathsOf(attached), (std::vector{backend.pathOf(0), backend.pathOf(1), backend.pathOf(added)}));

    backend.unplug(0);
    EXPECT_FALSE(writeReport(current, {}));
    EXPECT_EQ(current.lastStatus(), HidStatus::disconnected);
    EXPECT_EQ(scan(), 1);
    EXPECT_EQ(current.path(), backend.pathOf(1));
    EXPECT_EQ(pedalName(current), "Tovan 2");
    EXPECT_EQ(pathsOf(attached), (std::vector{backend.pathOf(1), backend.pathOf(added)}));

    backend.unplug(1);
    backend.unplug(added);
    EXPECT_EQ(scan(), 0);
    EXPECT_FALSE(current.isOpen());
    EXPECT_EQ(current.path(), "");
    EXPECT_TRUE(attached.empty());
    EXPECT_EQ(scan(), 0);
}

TEST_F(ScanWithSimulatedPedals, APedalInUpdateModeIsNotAPedal) {
    ASSERT_EQ(scan(), 1);
    const auto header =
        proto::encodeHeader({proto::kWrite, proto::kGroupDevice, proto::device::kEnterUpdate, {}});
    ASSERT_TRUE(writeReport(current, header));
    ASSERT_TRUE(writeReport(current, {}));
    EXPECT_EQ(backend.pathOf(0).find("pid_8002") != std::string::npos, true);
    EXPECT_EQ(scan(), 1);
    EXPECT_EQ(pathsOf(attached), std::vector{backend.pathOf(1)});
}

class ScanWithListedPaths : public ::testing::Test {
protected:
    int scan() { return scanDevices(backend, pedalPattern(), current, attached); }

    FakeBackend backend;
    CHidDevice current;
    std::vector<CHidDevice> attached;
};

TEST_F(ScanWithListedPaths, OnlyMatchingPathsWithinTheFirst260CharactersAreOpened) {
    const std::string upper =
        R"(\\?\HID#VID_231C&PID_0002#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
    const std::string otherDevice = "hidraw:/dev/hidraw1#vid_046d&pid_c52b";
    const std::string withinLimit = std::string(260 - 17, 'x') + "vid_231c&pid_0002";
    const std::string acrossLimit = std::string(260 - 16, 'x') + "vid_231c&pid_0002";
    const std::string pastLimit = std::string(300, 'x') + "vid_231c&pid_0002";
    backend.bus->paths = {otherDevice, upper, acrossLimit, withinLimit, pastLimit};

    EXPECT_EQ(scan(), 1);
    // Paths keep their own letter case.
    EXPECT_EQ(pathsOf(attached), (std::vector{upper, withinLimit}));
    EXPECT_EQ(current.path(), upper);
    EXPECT_EQ(backend.bus->openHandles, 3); // two list entries and the current copy
}

TEST_F(ScanWithListedPaths, PedalsListedBeforeKeepTheirOrderAtTheFront) {
    backend.bus->paths = {"b#vid_231c&pid_0002", "a#vid_231c&pid_0002"};
    ASSERT_EQ(scan(), 1);
    ASSERT_EQ(pathsOf(attached), (std::vector<std::string>{"b#vid_231c&pid_0002", "a#vid_231c&pid_0002"}));

    // The system now enumerates in another order, with two newcomers. The
    // current pedal's path no longer opens: it stays listed only as a copy of
    // the current handle.
    backend.bus->paths = {"d#vid_231c&pid_0002", "a#vid_231c&pid_0002", "c#vid_231c&pid_0002",
                          "b#vid_231c&pid_0002"};
    backend.bus->unopenable = {"b#vid_231c&pid_0002"};
    EXPECT_EQ(scan(), 2);
    EXPECT_EQ(pathsOf(attached), (std::vector<std::string>{"b#vid_231c&pid_0002", "a#vid_231c&pid_0002",
                                                           "d#vid_231c&pid_0002", "c#vid_231c&pid_0002"}));
    EXPECT_EQ(current.path(), "b#vid_231c&pid_0002");
    // Handles made: the first scan opens b and a and copies b as current; the
    // second opens a, d and c afresh and copies the current b into the list.
    const int firstScan = 2 + 1;
    const int secondScan = 3 + 1;
    EXPECT_EQ(backend.bus->opens, firstScan + secondScan);
}

TEST_F(ScanWithListedPaths, UnopenableAndUnlistableInterfaces) {
    backend.bus->paths = {"a#vid_231c&pid_0002", "b#vid_231c&pid_0002"};
    backend.bus->unopenable = {"a#vid_231c&pid_0002"};
    EXPECT_EQ(scan(), 1);
    EXPECT_EQ(pathsOf(attached), std::vector<std::string>{"b#vid_231c&pid_0002"});
    EXPECT_EQ(current.path(), "b#vid_231c&pid_0002");

    backend.bus->enumerationFails = true;
    EXPECT_EQ(scan(), 0);
    EXPECT_FALSE(current.isOpen());
    EXPECT_TRUE(attached.empty());
    EXPECT_EQ(backend.bus->openHandles, 0);
}

TEST_F(ScanWithListedPaths, APedalPluggedInAgainAtTheSamePathIsOpenedAfresh) {
    backend.bus->paths = {"hidraw:/dev/hidraw3#vid_231c&pid_0002"};
    ASSERT_EQ(scan(), 1);
    backend.bus->gone = {"hidraw:/dev/hidraw3#vid_231c&pid_0002"};
    EXPECT_FALSE(writeReport(current, {}));
    // Unplugged and plugged in again between two scans: same node, new device.
    backend.bus->gone.clear();
    EXPECT_EQ(scan(), 1);
    EXPECT_TRUE(writeReport(current, {}));
    EXPECT_EQ(scan(), 2);
}

} // namespace
} // namespace tovan
