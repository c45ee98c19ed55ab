#include "toolkit/controls/meter_drawing.h"

#include "toolkit/bitmap.h"
#include "toolkit/controls/control.h"
#include "toolkit/draw_context.h"
#include "toolkit/messages.h"

#include <algorithm>

int32_t meterFill(int32_t value, int32_t minimum, int32_t maximum, int32_t length) {
    if (maximum <= minimum || length <= 0) return 0;
    const int64_t share = int64_t(std::clamp(value, minimum, maximum) - minimum) * length;
    return int32_t(share / (int64_t(maximum) - minimum));
}

CCMeterLook meterLookFor(CCRect area, bool reversed) {
    return {area.height() > area.width(), reversed};
}

void drawMeter(CCDrawContext& ctx, CCRect area, const CCBitmap* background, const CCBitmap* foreground,
               int32_t filled, CCMeterLook look) {
    if (background) ctx.drawBitmap(*background, {area.left, area.top});
    if (!foreground || filled <= 0) return;
    const int32_t w = foreground->getWidth();
    const int32_t h = foreground->getHeight();
    if (look.vertical) {
        filled = std::min(filled, h);
        // Rising from the bottom, or hanging from the top.
        const int32_t sourceY = look.fromFarEnd ? 0 : h - filled;
        ctx.drawBitmap(*foreground, {area.left, area.top + sourceY}, {0, sourceY}, {w, filled});
        return;
    }
    filled = std::min(filled, w);
    const int32_t sourceX = look.fromFarEnd ? w - filled : 0;
    ctx.drawBitmap(*foreground, {area.left + sourceX, area.top}, {sourceX, 0}, {filled, h});
}

bool applyMeterLevel(CControl& meter, const CCMsg& msg, bool echo) {
    const int32_t level = msg.value > 0 ? meter.fromNormalised(msg.value) : msg.second;
    if (msg.forced)
        meter.setValueForced(level, Notify::no, Redraw{msg.notify != 0}, SelfOnly{msg.notify != 0});
    else
        meter.setValue(level, Notify{echo}, Redraw{msg.notify != 0}, SelfOnly{msg.notify != 0});
    return true;
}
