#include "link/hid_device.h"
#include "platform/hid/sim/sim_backend.h"
#include "tests/link/fake_backend.h"

#include <gtest/gtest.h>

namespace tovan {
namespace {

using test::FakeBackend;

proto::Payload statusHeader() {
    return proto::encodeHeader({proto::kRequest, proto::kGroupDevice, proto::device::kStatus, {}});
}

TEST(CHidDevice, EveryCopyOwnsItsHandle) {
    FakeBackend backend;
    CHidDevice fresh;
    EXPECT_FALSE(fresh.isOpen());
    EXPECT_EQ(fresh.path(), "");

    auto original = std::make_unique<CHidDevice>("p#vid_231c&pid_0002", backend.open("p#vid_231c&pid_0002"));
    CHidDevice copy(*original);
    EXPECT_EQ(backend.bus->openHandles, 2);
    EXPECT_EQ(copy.path(), original->path());
    original.reset();
    EXPECT_EQ(backend.bus->openHandles, 1);
    EXPECT_TRUE(writeReport(copy, statusHeader()));
    EXPECT_EQ(backend.bus->written.back().first, "p#vid_231c&pid_0002");

    // Assignment lets go of the target's own handle before taking a duplicate.
    CHidDevice other("q#vid_231c&pid_0002", backend.open("q#vid_231c&pid_0002"));
    EXPECT_EQ(backend.bus->openHandles, 2);
    other = copy;
    EXPECT_EQ(backend.bus->openHandles, 2);
    EXPECT_EQ(other.path(), "p#vid_231c&pid_0002");
    other = other;
    EXPECT_TRUE(other.isOpen());

    // Copying a closed device gives a closed device.
    other = CHidDevice();
    EXPECT_FALSE(other.isOpen());
    EXPECT_EQ(backend.bus->openHandles, 1);
    copy.close();
    EXPECT_EQ(backend.bus->openHandles, 0);
    EXPECT_FALSE(writeReport(copy, statusHeader()));
}

TEST(WriteAndReadReport, ReportIdZeroIsAddedAndStripped) {
    FakeBackend backend;
    CHidDevice device("p", backend.open("p"));
    proto::Payload payload{};
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = uint8_t(0xA0 + i);
    ASSERT_TRUE(writeReport(device, payload));
    const HidReport& sent = backend.bus->written.back().second;
    EXPECT_EQ(sent[0], 0);
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), sent.begin() + 1));
    EXPECT_EQ(backend.bus->timeouts.back(), std::chrono::milliseconds(2000));

    for (size_t i = 0; i < backend.bus->readReport.size(); ++i)
        backend.bus->readReport[i] = uint8_t(i);
    proto::Payload answer{};
    ASSERT_TRUE(readReport(device, answer));
    EXPECT_EQ(answer[0], 1);
    EXPECT_EQ(answer[15], 16);

    // A failed read leaves the caller's buffer as it was.
    backend.bus->nextRead = HidStatus::failed;
    proto::Payload untouched{};
    untouched.fill(0x55);
    EXPECT_FALSE(readReport(device, untouched));
    EXPECT_EQ(untouched[0], 0x55);

    backend.bus->nextWrite = HidStatus::timedOut;
    EXPECT_FALSE(writeReport(device, payload, std::chrono::milliseconds(5)));
    EXPECT_EQ(device.lastStatus(), HidStatus::timedOut);
    EXPECT_EQ(backend.bus->timeouts.back(), std::chrono::milliseconds(5));
}

TEST(WriteAndReadReport, AWriteThatNeverCompletesFailsAndLeavesNothingPending) {
    SimHidBackend backend(1);
    CHidDevice device(backend.pathOf(0), backend.open(backend.pathOf(0)));
    sim::Faults faults;
    faults.dropRate = 1.0;
    backend.pedal(0).setFaults(faults);
    EXPECT_FALSE(writeReport(device, statusHeader(), std::chrono::milliseconds(20)));
    EXPECT_EQ(device.lastStatus(), HidStatus::timedOut);

    // The next exchange goes through and gets its own answer.
    backend.pedal(0).setFaults({});
    const auto count =
        proto::encodeHeader({proto::kRequest, proto::kGroupSetlist, proto::setlist::kCount, {}});
    proto::Payload answer{};
    ASSERT_TRUE(writeReport(device, count));
    ASSERT_TRUE(readReport(device, answer));
    EXPECT_EQ(answer[0], 12);
}

TEST(WriteAndReadReport, APedalThatVanishesMidExchangeFailsAsDisconnected) {
    SimHidBackend backend(1);
    CHidDevice device(backend.pathOf(0), backend.open(backend.pathOf(0)));
    CHidDevice copy(device);
    sim::Faults faults;
    faults.unplugAfter = 1;
    backend.pedal(0).setFaults(faults);
    int changes = 0;
    auto monitor = backend.watch([&] { ++changes; });

    ASSERT_TRUE(writeReport(device, statusHeader()));
    proto::Payload answer{};
    ASSERT_TRUE(readReport(device, answer)); // the first exchange completes
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(writeReport(device, statusHeader()));
    EXPECT_EQ(device.lastStatus(), HidStatus::disconnected);
    EXPECT_FALSE(readReport(copy, answer));
    EXPECT_EQ(copy.lastStatus(), HidStatus::disconnected);
    EXPECT_EQ(backend.enumerate()->size(), 0u);
    EXPECT_EQ(backend.open(backend.pathOf(0)), nullptr);
}

} // namespace
} // namespace tovan
