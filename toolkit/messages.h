#pragma once

#include <cstdint>

class CCPageObject;

// Message codes of the toolkit. Mouse codes travel in a CCMouseMsg.
enum CCMsgCode : uint16_t {
    kMsgLeftDown = 257,        // x, y; sent only after a probe found a taker
    kMsgLeftUp = 258,          // x, y
    kMsgRightDown = 259,       // x, y
    kMsgRightUp = 260,         // x, y
    kMsgMouseMove = 261,       // x, y
    kMsgWheel = 262,           // first = signed delta; x, y in client pixels
    kMsgKeyDown = 263,         // first = virtual key
    kMsgLeftDoubleClick = 264, // x, y
    kMsgRightDoubleClick = 265,
    kMsgKeyUp = 266,           // first = virtual key
    kMsgPressProbe = 267,      // x, y; the taker writes itself into target
    kMsgSetValue = 513,        // first = tag, second = integer value, value = normalised; disable flag
    kMsgValueChanged = 514,    // first = tag, second = integer value, value = normalised, target = control
    kMsgRedraw = 515,          // target = object; self-only flag
    kMsgHover = 517,           // target = hovered object or none
    kMsgTimer = 518,           // first = timer id
    kMsgEnableByTag = 522,     // first = tag, second = enabled
    kMsgTextCommitted = 525,   // first = tag, data = text
    kMsgListItemChanged = 527, // first = tag
    kMsgModalClosed = 529,
    kMsgGroupSwitch = 530, // second = tag, first = new group bits
    kMsgFadeFinished = 531,
};

// True for the codes that are sent as CCMouseMsg.
constexpr bool isMouseCode(uint16_t code) {
    return (code >= kMsgLeftDown && code <= kMsgWheel) || code == kMsgLeftDoubleClick ||
           code == kMsgRightDoubleClick || code == kMsgPressProbe;
}

// Tags that never name a parameter.
constexpr int32_t kTagNone = 4096;
constexpr int32_t kTagNeverDisabled = 4097;

// The toolkit's own timer: the hover notification.
constexpr uint32_t kHoverTimerId = 256;
constexpr uint32_t kHoverTimerPeriodMs = 400;

// Cursor shapes answered by cursorAt; any other number is a cursor resource of
// the program (302 and 303 are the two pot-drag cursors).
constexpr int32_t kCursorArrow = 0;
constexpr int32_t kCursorWestEast = 304;
constexpr int32_t kCursorNorthSouth = 305;
constexpr int32_t kCursorHand = 306;

// One message. A plain value: tests build one and send it straight to an object.
class CCMsg {
public:
    CCMsg() = default;
    explicit CCMsg(uint16_t code, int32_t first = 0, int32_t second = 0, float value = 0.0f)
        : code(code), first(first), second(second), value(value) {}
    CCMsg(uint16_t code, CCPageObject* target) : target(target), code(code) {}
    virtual ~CCMsg() = default;
    CCMsg(const CCMsg&) = default;
    CCMsg& operator=(const CCMsg&) = default;

    CCPageObject* target = nullptr;
    uint16_t code = 0;
    int32_t first = 0;
    int32_t second = 0;
    float value = 0.0f;
    const void* data = nullptr; // text for some codes (525)
    uint8_t disable = 0;        // 513: disable the receiving control
    uint8_t notify = 1;         // whether the receiving control notifies in turn
    uint8_t selfOnly = 0;       // 515: redraw the target alone
    uint8_t forced = 0;         // 513: apply the value even when unchanged
    uint8_t forceDelivery = 0;  // reach objects that are not shown or not visible
};

// A mouse message: client position, the cursor's screen position at the time of
// the event and the modifier keys.
class CCMouseMsg : public CCMsg {
public:
    CCMouseMsg() = default;
    CCMouseMsg(uint16_t code, int32_t x, int32_t y) : CCMsg(code), x(x), y(y) {}

    int32_t x = 0;
    int32_t y = 0;
    int32_t screenX = 0;
    int32_t screenY = 0;
    uint8_t shiftDown = 0;
    uint8_t controlDown = 0;
};
