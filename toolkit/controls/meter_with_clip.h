#pragma once

#include "toolkit/controls/control.h"

class CCImageStrip;

// A meter with a clip lamp at its far end (the top of a meter taller than wide,
// else the right). The lamp's strip has two frames, off and lit; it lights when
// the level reaches the clip level (the maximum unless set) and stays lit, so a
// short peak is not missed, until a press on the meter or resetClip. The meter
// fills the rest of the bounds as CCMeter does and takes levels as it does.
class CCMeterWithClip : public CControl {
public:
    CCMeterWithClip(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                    int32_t backgroundId, int32_t foregroundId, int32_t lampId, int32_t minimum = 0,
                    int32_t maximum = 100, CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCMeterWithClip() override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMessage(CCMsg& msg) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    void applyValue(int32_t value, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) override;

    bool isClipped() const { return clipped; }
    void resetClip();
    void setClipLevel(int32_t level) { clipLevel = level; }
    // Where the lamp and the meter are drawn, in window pixels.
    CCRect lampRect() const;
    CCRect meterRect() const;

private:
    CCBitmap* foreground = nullptr; // one registry reference
    CCImageStrip* lamp = nullptr;   // one registry reference
    int32_t clipLevel;
    bool clipped = false;
};
