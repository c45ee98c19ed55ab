#include "toolkit/page_manager.h"

#include "platform/clock.h"
#include "platform/trace.h"
#include "toolkit/draw_context.h"
#include "toolkit/window_host.h"

namespace {

bool inSubtree(const CCPageObject* root, const CCPageObject* object) {
    return object && (object == root || root->isAncestorOf(object));
}

} // namespace

CCPageManager::CCPageManager(CCRect bounds, const Clock* clock, bool fadeThread)
    : CCPageObject(bounds.left, bounds.top, bounds.right, bounds.bottom),
      redrawMutex(std::make_shared<std::recursive_mutex>()),
      animator(std::make_unique<CCFadeAnimator>(static_cast<CCFadeTarget&>(*this), redrawMutex,
                                                clock ? *clock : steadyClock(), fadeThread)),
      timers(*this) {}

CCPageManager::~CCPageManager() {
    setFadesSuspended(true);
    animator->stop();
    // Children go while this is still a manager, so their removal clears every
    // reference held here.
    while (CCPageObject* child = getFirstChild())
        removeChild(child).reset();
    retired.clear();
}

bool CCPageManager::dispatch(CCMsg& msg) {
    auto lock = lockRedraw();
    ++dispatchDepth;
    CCMouseMsg* mouse = isMouseCode(msg.code) ? dynamic_cast<CCMouseMsg*>(&msg) : nullptr;
    bool handled = mouse ? onMouse(*mouse) : onMessage(msg);
    if (!handled) {
        const bool move = mouse && msg.code == kMsgMouseMove;
        if (move) {
            previousHover = hover;
            hover = nullptr;
        }
        handled = modal ? dispatchModal(msg, mouse) : dispatchToTree(msg, mouse);
        if (move && hover != previousHover) {
            if (previousHover) hoverFade(previousHover, false);
            if (hover)
                hoverFade(hover, true);
            else if (previousHover)
                timers.startTimer(kHoverTimerId, kHoverTimerPeriodMs);
        }
        if (mouse && isEnabled() && window)
            window->setCursorShape(hover ? hover->cursorAt(mouse->x, mouse->y)
                                         : cursorAt(mouse->x, mouse->y));
    }
    if (--dispatchDepth == 0) retired.clear();
    return handled;
}

bool CCPageManager::dispatchToTree(CCMsg& msg, CCMouseMsg* mouse) {
    if (mouse && captured && captured->onMouse(*mouse)) return true;
    if (msg.code == kMsgTimer) {
        // To the object the timer runs for, if the tree would reach it.
        CCPageObject* target = timers.targetOf(static_cast<uint32_t>(msg.first));
        if (target == nullptr || !inSubtree(this, target)) return false;
        for (const CCPageObject* o = target->getParent(); o != this; o = o->getParent())
            if (!o->isEnabled() || !o->isShown() || !o->isVisible()) return false;
        return target->deliver(msg);
    }
    return deliverToChildren(msg);
}

bool CCPageManager::dispatchModal(CCMsg& msg, CCMouseMsg* mouse) {
    // Keys, timers and value messages wait until the panel is gone.
    if (!mouse) return false;
    const int32_t mode = modal->modalMode();
    if (msg.code == kMsgPressProbe && (mode == 1 || mode == 2)) {
        msg.target = modal;
        return true;
    }
    // A drag that started inside the panel keeps its control while the mouse leaves it.
    if (inSubtree(modal, captured) && captured->onMouse(*mouse)) return true;
    // Inside means inside the panel's own area, over one of its controls too
    // (a control's hit test answers false over its children).
    if (!modal->CCPageObject::hitTest({mouse->x, mouse->y})) {
        if (msg.code != kMsgLeftDown) return false;
        closeModal();
        return true;
    }
    bool handled = modal->deliver(msg);
    if (!handled && msg.code == kMsgLeftDown && (mode == 0 || mode == 2)) {
        closeModal();
        return true;
    }
    return handled;
}

void CCPageManager::closeModal() {
    showModal(nullptr);
}

bool CCPageManager::onMessage(CCMsg& msg) {
    if (msg.code != kMsgRedraw) return onManagerMessage(msg);
    if (!open) return true;
    {
        auto lock = lockRedraw();
        if (batchDepth == 0) pending = false;
        ++batchDepth;
    }
    onManagerMessage(msg);
    auto lock = lockRedraw();
    --batchDepth;
    if (batchDepth == 0 && pending) presentPendingLocked();
    return true;
}

bool CCPageManager::onManagerMessage(CCMsg& msg) {
    if (msg.code == kMsgRedraw) {
        CCPageObject* target = msg.target ? msg.target : this;
        CCRect rect = target->getBounds();
        CCPageObject* from = msg.selfOnly ? target : nullptr;
        auto lock = lockRedraw();
        if (context && drawingEnabled) {
            CCDrawStateSaver saver(*context);
            context->clip(rect);
            redraw(*context, from);
            presentOrAccumulate(rect);
        }
        return true;
    }
    if (msg.code == kMsgTimer && static_cast<uint32_t>(msg.first) == kHoverTimerId) {
        // One notification per hover change; the platform timer repeats otherwise.
        timers.stopTimer(kHoverTimerId);
        CCMsg note(kMsgHover, hover);
        deliverToChildren(note);
        return true;
    }
    return false;
}

void CCPageManager::invalidate(bool selfOnly) {
    if (!open) return;
    CCMsg msg(kMsgRedraw, this);
    msg.selfOnly = selfOnly;
    onMessage(msg);
}

void CCPageManager::invalidateObject(CCPageObject* object, bool selfOnly) {
    if (!object) return;
    CCMsg msg(kMsgRedraw, object);
    msg.selfOnly = selfOnly;
    onMessage(msg);
}

void CCPageManager::redraw(CCDrawContext& ctx, CCPageObject* from) {
    auto lock = lockRedraw();
    if (!drawingEnabled) return;
    if (!modal) {
        CCPageObject::redraw(ctx, from);
        return;
    }
    ctx.setOverlayDepth(ctx.overlayDepth() + 1);
    CCPageObject::redraw(ctx, from);
    ctx.setOverlayDepth(ctx.overlayDepth() - 1);
    modal->drawObject(ctx, true);
}

void CCPageManager::presentRect(CCRect rect) {
    if (window) window->requestPresent(rect);
}

void CCPageManager::drawNow(CCPageObject* object) {
    if (object == nullptr) return;
    auto lock = lockRedraw();
    if (!open || !context || !drawingEnabled) return;
    // Drawn now because the loop is kept busy: a window not yet on screen
    // must be able to come up to show it.
    if (window) window->letWindowAppear();
    const CCRect rect = object->getBounds();
    {
        CCDrawStateSaver saver(*context);
        context->clip(rect);
        redraw(*context, nullptr);
    }
    presentRect(rect);
}

void CCPageManager::presentOrAccumulate(CCRect rect) {
    if (batchDepth == 0) {
        presentRect(rect);
        return;
    }
    if (!pending) {
        pendingRect = rect;
        pending = true;
        return;
    }
    pendingRect.left = std::min(pendingRect.left, rect.left);
    pendingRect.top = std::min(pendingRect.top, rect.top);
    pendingRect.right = std::max(pendingRect.right, rect.right);
    pendingRect.bottom = std::max(pendingRect.bottom, rect.bottom);
}

void CCPageManager::presentPendingLocked() {
    pending = false;
    presentRect(pendingRect);
}

void CCPageManager::beginUpdate() {
    auto lock = lockRedraw();
    ++batchDepth;
}

void CCPageManager::endUpdate() {
    auto lock = lockRedraw();
    if (batchDepth == 0) {
        tovanTrace("endUpdate without beginUpdate\n");
        return;
    }
    --batchDepth;
    if (batchDepth == 0 && pending) presentPendingLocked();
}

void CCPageManager::flushPending() {
    auto lock = lockRedraw();
    if (pending) presentPendingLocked();
}

void CCPageManager::attachWindow(CCWindowHost* host, CCDrawContext* ctx, CCParameterHost* effect) {
    auto lock = lockRedraw();
    window = host;
    context = ctx;
    effectHost = effect;
}

void CCPageManager::setDrawingEnabled(bool on) {
    auto lock = lockRedraw();
    drawingEnabled = on;
}

void CCPageManager::setCapture(CCPageObject* control, bool on) {
    auto lock = lockRedraw();
    if (on) {
        if (captured && captured != control) {
            captured->setHasCapture(false);
            captured->invalidate(true);
        }
        captured = control;
    } else if (captured == control) {
        captured = nullptr;
    }
    if (control) {
        control->setHasCapture(on);
        control->invalidate(true);
    }
}

void CCPageManager::setHover(CCPageObject* control) {
    hover = control;
    if (control && control != previousHover) timers.startTimer(kHoverTimerId, kHoverTimerPeriodMs);
}

void CCPageManager::hoverFade(CCPageObject* object, bool in) {
    CCPageObject* o = object;
    while (o && o->getNormalOpacity() == o->getHoverOpacity())
        o = o->getParent();
    if (!o) return;
    if (in && !o->isSelected())
        fadeTo(o, o->getHoverOpacity(), o->hoverInFactor, kMsgFadeFinished);
    else
        fadeTo(o, o->getNormalOpacity(), o->hoverOutFactor, kMsgFadeFinished);
}

void CCPageManager::fadeTo(CCPageObject* object, uint8_t target, int32_t factor, uint16_t completionCode) {
    if (!object) return;
    if (open && object->isShown() && object->isVisible()) {
        animator->add(object, target, factor, completionCode);
        animationStarted();
        return;
    }
    object->setCurrentOpacity(target);
    object->invalidate(false);
    if (completionCode != 0) fadeCompleted(object, completionCode);
}

void CCPageManager::showModal(std::unique_ptr<CCPageObject> panel) {
    auto lock = lockRedraw();
    if (captured) captured->setHasCapture(false);
    captured = nullptr;
    hover = nullptr;
    previousHover = nullptr;
    if (modal) {
        std::unique_ptr<CCPageObject> old = removeChild(modal);
        modal = nullptr;
        // The panel may be closing itself from one of its own handlers.
        if (dispatchDepth > 0)
            retired.push_back(std::move(old));
        else
            old.reset();
        CCMsg closed(kMsgModalClosed);
        dispatch(closed);
    }
    if (panel) {
        modal = panel.get();
        addChildObject(std::move(panel));
    }
    invalidate(false);
}

void CCPageManager::setFadesSuspended(bool on) {
    animator->setSuspended(on);
}

void CCPageManager::forgetSubtree(CCPageObject* root) {
    for (CCPageObject** ref : {&captured, &hover, &previousHover, &modal, &popupEdit})
        if (inSubtree(root, *ref)) *ref = nullptr;
    animator->dropSubtree(root);
    timers.forgetSubtree(root);
}

bool CCPageManager::animating() const {
    return animator->fadeCount() > 0 || timers.hasTargets();
}

void CCPageManager::fadeInvalidate(CCPageObject* object) {
    invalidateObject(object, true);
}

void CCPageManager::fadeCompleted(CCPageObject* object, uint16_t code) {
    CCMsg msg(code, object);
    msg.forceDelivery = 1;
    object->deliver(msg);
}
