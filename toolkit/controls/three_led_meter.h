#pragma once

#include "toolkit/controls/control.h"

class CCImageStrip;

// A meter of three lamps drawn as one image: its strip has four frames, none,
// one, two and all three lit. The first lights above the minimum, the second at
// half the range, the third (the warning) at nine tenths. It takes levels as
// CCMeter does.
class CC3LEDMeter : public CControl {
public:
    CC3LEDMeter(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                int32_t minimum = 0, int32_t maximum = 100, CCPageObject* listener = nullptr,
                uint16_t groupMask = 0);
    ~CC3LEDMeter() override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMessage(CCMsg& msg) override;
    // Lamps lit for a level, 0 to 3.
    int32_t litFor(int32_t level) const;

private:
    CCImageStrip* strip = nullptr; // one registry reference
};
