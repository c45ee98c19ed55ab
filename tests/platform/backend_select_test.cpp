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
    // Whatever is attached here, every path has the form the scan looks for.
    HidapiBackend backend;
    for (const std::string& path : backend.enumerate().value_or(std::vector<std::string>{})) {
        EXPECT_EQ(path.rfind("hidraw:", 0), 0u) << path;
        EXPECT_NE(path.find("#vid_"), std::string::npos) << path;
    }
    EXPECT_EQ(backend.open("hidraw:/dev/does-not-exist#vid_231c&pid_0002"), nullptr);
}

} // namespace
} // namespace tovan
