#pragma once

#include "toolkit/geometry.h"

#include <cstdint>

class CCBitmap;
class CCDrawContext;
class CCMsg;
class CControl;

// What the meter family shares: how much of a meter a level fills and how a
// meter is drawn and set.

// Pixels of `length` that a value fills: its share of [minimum, maximum].
int32_t meterFill(int32_t value, int32_t minimum, int32_t maximum, int32_t length);

// A meter taller than wide fills along its height (from the bottom), any other
// along its width (from the left); fromFarEnd fills from the top or the right.
struct CCMeterLook {
    bool vertical = false;
    bool fromFarEnd = false;
};
CCMeterLook meterLookFor(CCRect area, bool reversed);

// Draws the background at the area's corner, then the foreground cut to
// `filled` pixels along the axis, from the end the look says.
void drawMeter(CCDrawContext& ctx, CCRect area, const CCBitmap* background, const CCBitmap* foreground,
               int32_t filled, CCMeterLook look);

// A meter's answer to a 513: a positive normalised value is mapped onto the
// range, anything else gives the second parameter as the level itself.
bool applyMeterLevel(CControl& meter, const CCMsg& msg, bool echo);

// The live reading of the threshold and frequency meters (their value is the
// mark the user sets): first = tag, second = the reading in the meter's units.
constexpr uint16_t kMsgMeterReading = 600;
