#include "toolkit/window_events.h"

#include "toolkit/page_manager.h"
#include "toolkit/window_host.h"

bool dispatchLeftPress(CCPageManager& manager, CCWindowHost& window, CCMouseMsg msg) {
    msg.code = kMsgPressProbe;
    msg.target = nullptr;
    manager.dispatch(msg);
    if (!msg.target) return false;
    window.setMouseCapture(true);
    msg.code = kMsgLeftDown;
    manager.dispatch(msg);
    return true;
}

bool dispatchLeftRelease(CCPageManager& manager, CCWindowHost& window, CCMouseMsg msg) {
    window.setMouseCapture(false);
    msg.code = kMsgLeftUp;
    return manager.dispatch(msg);
}
