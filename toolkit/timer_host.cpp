#include "toolkit/timer_host.h"

#include "toolkit/page_manager.h"
#include "toolkit/window_host.h"

bool CCTimerHost::startTimer(uint32_t id, uint32_t periodMs) {
    CCWindowHost* window = manager.windowHost();
    return window && window->startTimer(id, periodMs);
}

void CCTimerHost::stopTimer(uint32_t id) {
    if (CCWindowHost* window = manager.windowHost()) window->stopTimer(id);
}
