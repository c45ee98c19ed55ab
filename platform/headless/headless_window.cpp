#include "platform/headless/headless_window.h"

#include "toolkit/window_client.h"

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

int32_t HeadlessWindow::presentPending(CCWindowClient& client) {
    std::vector<CCRect> rects;
    {
        std::lock_guard lock(presentLock);
        rects.swap(presents);
    }
    if (!screen) return 0;
    CCBitmap& target = screen->surface();
    int32_t copied = 0;
    for (const CCRect& asked : rects) {
        const CCRect r = asked.intersected({0, 0, target.getWidth(), target.getHeight()});
        if (r.isEmpty()) continue;
        // Rows may run bottom-up: the stride is the step from one row to the next.
        const int32_t stride =
            target.getHeight() > 1 ? int32_t(target.row(1) - target.row(0)) : target.getStride();
        if (client.copyComposed(r, target.row(r.top) + r.left * 4, stride)) ++copied;
    }
    return copied;
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

bool HeadlessWindow::fireTimer(CCWindowClient& client, uint32_t id) {
    if (!timerRunning(id)) return false;
    client.timerFired(id);
    return true;
}

void HeadlessWindow::runOnUiThread(std::function<void()> next) {
    std::lock_guard lock(presentLock);
    work.push_back(std::move(next));
}

int32_t HeadlessWindow::runPendingWork() {
    std::vector<std::function<void()>> ready;
    {
        std::lock_guard lock(presentLock);
        ready.swap(work);
    }
    for (auto& job : ready)
        job();
    return static_cast<int32_t>(ready.size());
}
