#pragma once

#include "editor/tovan_filter_ctrl.h"
#include "platform/clock.h"
#include "resources/resources.h"
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <memory>

// Fades and pacing run on a clock the test moves.
class SteppedClock : public Clock {
public:
    uint32_t milliseconds() const override { return now; }
    uint32_t now = 1000;
};

// The toolkit with the program's own images, for one test.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        toolkitStart();
        setProgramResources(&tovanProgramResources());
    }
    void TearDown() override {
        setProgramResources(nullptr);
        toolkitStop();
    }

    // The display as the main page places it.
    static std::unique_ptr<CTovanFilterCtrl> makeDisplay(CCPoint at = {10, 78}) {
        return std::make_unique<CTovanFilterCtrl>(at, CCRect{21, 16, 558, 161});
    }
    static CCPoint centre(const CCRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};
