#include "toolkit/timer_host.h"

#include "toolkit/page_manager.h"
#include "toolkit/window_host.h"

bool CCTimerHost::startTimer(uint32_t id, uint32_t periodMs, CCPageObject* target) {
    CCWindowHost* window = manager.windowHost();
    if (!window || !window->startTimer(id, periodMs)) return false;
    if (target != nullptr) {
        targets[id] = target;
        manager.animationStarted();
    } else {
        targets.erase(id);
    }
    return true;
}

void CCTimerHost::stopTimer(uint32_t id) {
    targets.erase(id);
    if (CCWindowHost* window = manager.windowHost()) window->stopTimer(id);
}

CCPageObject* CCTimerHost::targetOf(uint32_t id) const {
    const auto it = targets.find(id);
    return it != targets.end() ? it->second : nullptr;
}

void CCTimerHost::forgetSubtree(const CCPageObject* root) {
    for (auto it = targets.begin(); it != targets.end();) {
        if (it->second == root || root->isAncestorOf(it->second))
            it = targets.erase(it);
        else
            ++it;
    }
}
