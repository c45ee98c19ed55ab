#include "platform/headless/headless_window.h"

#include "toolkit/page_manager.h"

HeadlessWindow::HeadlessWindow(int32_t width, int32_t height, CCPoint screenOrigin)
    : screen(CCDrawContext::createOffscreen(width, height)), origin(screenOrigin) {}

void HeadlessWindow::requestPresent(CCRect rect) {
    std::lock_guard lock(presentLock);
    presents.push_back(rect);
}

std::vector<CCRect> HeadlessWindow::pendingPresents() const {
    std::lock_guard lock(presentLock);
    return presents;
}

int32_t HeadlessWindow::presentPending(CCPageManager& manager) {
    std::vector<CCRect> rects;
    {
        std::lock_guard lock(presentLock);
        rects.swap(presents);
    }
    CCDrawContext* source = manager.drawContext();
    if (!screen || !source) return 0;
    auto redraw = manager.lockRedraw();
    for (const CCRect& r : rects)
        screen->blit(*source, r, {r.left, r.top});
    return static_cast<int32_t>(rects.size());
}

bool HeadlessWindow::startTimer(uint32_t id, uint32_t periodMs) {
    timers[id] = periodMs;
    return true;
}

void HeadlessWindow::stopTimer(uint32_t id) {
    timers.erase(id);
}

uint32_t HeadlessWindow::timerPeriod(uint32_t id) const {
    auto it = timers.find(id);
    return it == timers.end() ? 0 : it->second;
}

bool HeadlessWindow::fireTimer(CCPageManager& manager, uint32_t id) {
    if (!timerRunning(id)) return false;
    CCMsg msg(kMsgTimer, static_cast<int32_t>(id));
    manager.dispatch(msg);
    return true;
}
