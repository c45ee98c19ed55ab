// The page manager as the window's client: platform input becomes toolkit
// messages, with the rules every window shares.
#include <cstddef>
#include <cstring>

#include "toolkit/cursor.h"
#include "toolkit/draw_context.h"
#include "toolkit/page_manager.h"
#include "toolkit/window_events.h"
#include "toolkit/window_host.h"

namespace {

// Timers with ids from this one on repeat; lower ids fire once.
constexpr uint32_t kFirstRepeatingTimer = 4097;

CCMouseMsg mouseMessage(uint16_t code, const CCPointerEvent& event) {
    CCMouseMsg msg(code, event.x, event.y);
    msg.screenX = event.screenX;
    msg.screenY = event.screenY;
    msg.shiftDown = event.shift ? 1 : 0;
    msg.controlDown = event.control ? 1 : 0;
    return msg;
}

} // namespace

bool CCPageManager::leftPressed(const CCPointerEvent& event) {
    auto lock = lockRedraw();
    CCMouseMsg msg = mouseMessage(kMsgLeftDown, event);
    if (window != nullptr) {
        if (dispatchLeftPress(*this, *window, msg)) return true;
        // Nobody's: the borderless window moves with the pointer.
        window->beginMove({event.screenX, event.screenY});
        return false;
    }
    msg.code = kMsgPressProbe;
    dispatch(msg);
    if (msg.target == nullptr) return false;
    msg.code = kMsgLeftDown;
    dispatch(msg);
    return true;
}

void CCPageManager::leftReleased(const CCPointerEvent& event) {
    auto lock = lockRedraw();
    CCMouseMsg msg = mouseMessage(kMsgLeftUp, event);
    if (window != nullptr)
        dispatchLeftRelease(*this, *window, msg);
    else
        dispatch(msg);
}

void CCPageManager::leftDoubleClicked(const CCPointerEvent& event) {
    auto lock = lockRedraw();
    CCMouseMsg msg = mouseMessage(kMsgLeftDoubleClick, event);
    dispatch(msg);
}

void CCPageManager::rightPressed(const CCPointerEvent& event) {
    auto lock = lockRedraw();
    if (window != nullptr) window->setMouseCapture(true);
    CCMouseMsg msg = mouseMessage(kMsgRightDown, event);
    dispatch(msg);
}

void CCPageManager::rightReleased(const CCPointerEvent& event) {
    auto lock = lockRedraw();
    if (window != nullptr) window->setMouseCapture(false);
    CCMouseMsg msg = mouseMessage(kMsgRightUp, event);
    dispatch(msg);
}

void CCPageManager::rightDoubleClicked(const CCPointerEvent& event) {
    auto lock = lockRedraw();
    CCMouseMsg msg = mouseMessage(kMsgRightDoubleClick, event);
    dispatch(msg);
}

void CCPageManager::pointerMoved(const CCPointerEvent& event) {
    auto lock = lockRedraw();
    CCMouseMsg msg = mouseMessage(kMsgMouseMove, event);
    dispatch(msg);
}

bool CCPageManager::wheelTurned(const CCPointerEvent& event) {
    if (!wheelEnabled) return false;
    auto lock = lockRedraw();
    CCMouseMsg msg = mouseMessage(kMsgWheel, event);
    msg.first = event.wheelDelta;
    return dispatch(msg);
}

void CCPageManager::keyPressed(int32_t virtualKey) {
    auto lock = lockRedraw();
    CCMsg msg(kMsgKeyDown, keyForMessage(virtualKey));
    dispatch(msg);
}

void CCPageManager::keyReleased(int32_t virtualKey) {
    auto lock = lockRedraw();
    CCMsg msg(kMsgKeyUp, keyForMessage(virtualKey));
    dispatch(msg);
}

void CCPageManager::timerFired(uint32_t id) {
    auto lock = lockRedraw();
    CCMsg msg(kMsgTimer, static_cast<int32_t>(id));
    dispatch(msg);
    if (id < kFirstRepeatingTimer && window != nullptr) window->stopTimer(id);
}

void CCPageManager::focusLost() {
    auto lock = lockRedraw();
    if (popupEdit != nullptr) popupEdit->finishEditing();
}

void CCPageManager::captureLost() {
    auto lock = lockRedraw();
    if (captured == nullptr) return;
    // The drag ends where the pointer is, as a release there would end it.
    CCPoint client{};
    CCPoint screen{};
    if (window != nullptr) {
        screen = window->cursorScreenPosition();
        client = window->screenToClient(screen);
    }
    CCMouseMsg release(kMsgLeftUp, client.x, client.y);
    release.screenX = screen.x;
    release.screenY = screen.y;
    CCPageObject* holder = captured;
    holder->onMouse(release);
    if (captured == holder) setCapture(holder, false);
    if (window != nullptr) window->setMouseCapture(false);
    showCursor(window);
}

void CCPageManager::filesDropped(const std::vector<std::string>&) {}

bool CCPageManager::closeRequested() {
    return true;
}

bool CCPageManager::copyComposed(CCRect rect, uint8_t* pixels, int32_t stride) {
    auto lock = lockRedraw();
    if (context == nullptr || pixels == nullptr) return false;
    const CCBitmap& surface = context->surface();
    const CCRect r = rect.intersected(surface.bounds());
    if (r.isEmpty()) return false;
    const size_t bytes = static_cast<size_t>(r.width()) * 4;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        uint8_t* to = pixels + static_cast<ptrdiff_t>(y - rect.top) * stride + (r.left - rect.left) * 4;
        std::memcpy(to, surface.row(y) + r.left * 4, bytes);
    }
    return true;
}
