#include "platform/hid/backend_select.h"
#include "platform/hid/hidapi/hidapi_backend.h"
#include "platform/hid/sim/sim_backend.h"
#include "platform/hid/virtual/virtual_backend.h"

#include <gtest/gtest.h>

namespace tovan {
namespace {

TEST(BackendSelect, FollowsTovanPedal) {
    auto sim = createHidBackend("sim:3");
    ASSERT_NE(dynamic_cast<SimHidBackend*>(sim.get()), nullptr);
    EXPECT_EQ(sim->enumerate()->size(), 3u);
    EXPECT_EQ(createHidBackend("sim")->enumerate()->size(), 1u);
    auto bus = createHidBackend("virtual:/tmp/somewhere");
    ASSERT_NE(dynamic_cast<VirtualHidBackend*>(bus.get()), nullptr);
    EXPECT_EQ(static_cast<VirtualHidBackend&>(*bus).folder(), "/tmp/somewhere");
    EXPECT_NE(dynamic_cast<HidapiBackend*>(createHidBackend("usb").get()), nullptr);
    EXPECT_NE(dynamic_cast<HidapiBackend*>(createHidBackend("").get()), nullptr);
    EXPECT_EQ(createHidBackend("sim:0"), nullptr);
    EXPECT_EQ(createHidBackend("sim:x"), nullptr);
    EXPECT_EQ(createHidBackend("bluetooth"), nullptr);
}

TEST(HidapiPaths, CarryTheNodeAndTheIdentifiers) {
    EXPECT_EQ(hidrawNodeOf("hidraw:/dev/hidraw3#vid_231c&pid_0002"), "/dev/hidraw3");
    EXPECT_EQ(hidrawNodeOf("hidraw:/dev/hidraw3"), "/dev/hidraw3");
    EXPECT_EQ(hidrawNodeOf("virtual:/tmp/x"), "");
    // Enumerated paths carry the identifiers in lower-case hexadecimal, four
    // digits each, the form the pedal scan looks for.
    EXPECT_EQ(hidrawPathOf("/dev/hidraw3", 0x231c, 0x0002), "hidraw:/dev/hidraw3#vid_231c&pid_0002");
    EXPECT_EQ(hidrawPathOf("/dev/hidraw12", 0xABCD, 0x8002), "hidraw:/dev/hidraw12#vid_abcd&pid_8002");
    EXPECT_EQ(hidrawNodeOf(hidrawPathOf("/dev/hidraw0", 0x231c, 0x0002)), "/dev/hidraw0");
    HidapiBackend backend;
    EXPECT_EQ(backend.open("hidraw:/dev/does-not-exist#vid_231c&pid_0002"), nullptr);
    EXPECT_EQ(backend.open("virtual:/tmp/x"), nullptr);
}

} // namespace
} // namespace tovan
