#pragma once

#include "toolkit/fade_animator.h"
#include "toolkit/page_object.h"
#include "toolkit/redraw_lock.h"
#include "toolkit/timer_host.h"
#include "toolkit/window_client.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

class CCDrawContext;
class CCParameterHost;
class CCWindowHost;
class Clock;

// The root of the tree: routes messages, owns mouse capture, hover and the modal
// panel, composes invalidated rectangles into the drawing context and hands them
// to the window, and runs the fade animator.
//
// The fade thread composes and delivers completion messages under the redraw
// lock, so everything that changes the tree or what it draws holds that lock:
// dispatch does, addChild and removeChild under a manager do, and code that
// reaches controls directly from elsewhere takes lockRedraw() around it.
class CCPageManager : public CCPageObject, public CCWindowClient, public CCRedrawLock, private CCFadeTarget {
public:
    // `clock` times the fades; without a worker thread (tests) fades advance only
    // through fades().runPass().
    explicit CCPageManager(CCRect bounds = {}, const Clock* clock = nullptr, bool fadeThread = true);
    ~CCPageManager() override;

    // Offers the message to the manager, then to the modal panel or to capture and
    // the tree. True when someone handled it.
    virtual bool dispatch(CCMsg& msg);
    // Carries the composed rectangle to the screen. The default asks the window to
    // present it; it may run on the fade thread.
    virtual void presentRect(CCRect rect);
    // Draws an object and presents it now, even inside an update batch: the
    // progress of a long read under the batch.
    void drawNow(CCPageObject* object);
    // The manager's own messages: 515 redraw request, 518 with the hover timer.
    virtual bool onManagerMessage(CCMsg& msg);

    bool onMessage(CCMsg& msg) override;
    void invalidate(bool selfOnly) override;
    void redraw(CCDrawContext& ctx, CCPageObject* from) override;

    // The window the editor attaches; any of the three may be none.
    void attachWindow(CCWindowHost* window, CCDrawContext* context, CCParameterHost* effect);
    void setOpen(bool on) { open = on; }
    bool isOpen() const { return open; }
    void setDrawingEnabled(bool on);
    bool isDrawingEnabled() const { return drawingEnabled; }
    CCWindowHost* windowHost() const { return window; }
    CCDrawContext* drawContext() const { return context; }
    CCParameterHost* getEffect() const { return effectHost; }
    void setEffect(CCParameterHost* host) { effectHost = host; }
    CCTimerHost& getTimerHost() { return timers; }

    // Mouse capture: the captured control gets mouse messages first.
    void setCapture(CCPageObject* control, bool on);
    CCPageObject* captureObject() const { return captured; }
    // Called by the control under the mouse during a move's delivery.
    void setHover(CCPageObject* control);
    CCPageObject* hoverObject() const { return hover; }
    // Fades `object` to `target` (see CCFadeAnimator::add); when closed or the
    // object is hidden the opacity is set at once and the completion code sent.
    void fadeTo(CCPageObject* object, uint8_t target, int32_t factor, uint16_t completionCode);
    // Replaces the modal panel (none closes it); a closed panel is destroyed and 529 dispatched.
    void showModal(std::unique_ptr<CCPageObject> panel);
    CCPageObject* modalPanel() const { return modal; }
    void setPopupEdit(CCPageObject* object) { popupEdit = object; }
    CCPageObject* popupEditObject() const { return popupEdit; }

    // Batching: presents wait until the outermost endUpdate, merged into one rectangle.
    void beginUpdate();
    void endUpdate();
    // Presents the pending rectangle now, whatever the batch depth.
    void flushPending();
    // Sends a redraw request for `object` straight to the manager.
    void invalidateObject(CCPageObject* object, bool selfOnly);
    void setFadesSuspended(bool on);
    CCFadeAnimator& fades() { return *animator; }
    // Whether something on the page moves by itself: a fade runs, or an
    // object's own timer does (a flashing button).
    bool animating() const;
    // Something began to move by itself (see animating). Called on the thread
    // that started it: the fade thread too, when a fade's end starts another.
    virtual void animationStarted() {}

    // The window's input, as messages through dispatch (see CCWindowClient).
    bool leftPressed(const CCPointerEvent& event) override;
    void leftReleased(const CCPointerEvent& event) override;
    void leftDoubleClicked(const CCPointerEvent& event) override;
    void rightPressed(const CCPointerEvent& event) override;
    void rightReleased(const CCPointerEvent& event) override;
    void rightDoubleClicked(const CCPointerEvent& event) override;
    void pointerMoved(const CCPointerEvent& event) override;
    bool wheelTurned(const CCPointerEvent& event) override;
    void keyPressed(int32_t virtualKey) override;
    void keyReleased(int32_t virtualKey) override;
    void timerFired(uint32_t id) override;
    void focusLost() override;
    void captureLost() override;
    void filesDropped(const std::vector<std::string>& paths) override;
    bool closeRequested() override;
    bool copyComposed(CCRect rect, uint8_t* pixels, int32_t stride) override;
    // Whether the wheel reaches the controls (on by default).
    void setWheelEnabled(bool on) { wheelEnabled = on; }
    bool isWheelEnabled() const { return wheelEnabled; }

    // The redraw lock (recursive). Code that changes the tree or drawn state from
    // outside dispatch (for example the parameter owner delivering 513) holds it.
    std::unique_lock<std::recursive_mutex> lockRedraw() override { return std::unique_lock(*redrawMutex); }

private:
    void fadeInvalidate(CCPageObject* object) override;
    void fadeCompleted(CCPageObject* object, uint16_t code) override;

    bool dispatchToTree(CCMsg& msg, CCMouseMsg* mouse);
    bool dispatchModal(CCMsg& msg, CCMouseMsg* mouse);
    void closeModal();
    void hoverFade(CCPageObject* object, bool in);
    void presentOrAccumulate(CCRect rect);
    void presentPendingLocked();
    // Clears every reference to `root` or its subtree and drops their fades.
    void forgetSubtree(CCPageObject* root);

    friend class CCPageObject;

    CCWindowHost* window = nullptr;
    std::shared_ptr<std::recursive_mutex> redrawMutex;
    std::unique_ptr<CCFadeAnimator> animator;
    CCPageObject* captured = nullptr;
    CCPageObject* hover = nullptr;
    CCPageObject* previousHover = nullptr;
    CCPageObject* modal = nullptr; // owned through the child list
    CCPageObject* popupEdit = nullptr;
    CCTimerHost timers;
    CCParameterHost* effectHost = nullptr;
    std::atomic<bool> open{false}; // also read by fades started on the fade thread
    CCDrawContext* context = nullptr;
    bool pending = false;
    CCRect pendingRect;
    uint16_t batchDepth = 0;
    bool drawingEnabled = true;
    bool wheelEnabled = true;
    // Panels closed while a dispatch runs are destroyed when it returns, so a
    // panel may close itself from its own handler.
    std::vector<std::unique_ptr<CCPageObject>> retired;
    int32_t dispatchDepth = 0;
};
