#pragma once

#include "platform/clock.h"
#include "toolkit/draw_context.h"
#include "toolkit/page_manager.h"
#include "toolkit/parameter_host.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Entries in the order things happened; shared by the objects of one tree.
class EventLog {
public:
    void add(std::string entry) {
        std::lock_guard lock(m);
        entries.push_back(std::move(entry));
    }
    std::vector<std::string> take() {
        std::lock_guard lock(m);
        return std::exchange(entries, {});
    }
    bool contains(const std::string& entry) {
        std::lock_guard lock(m);
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    }

private:
    std::mutex m;
    std::vector<std::string> entries;
};

// An object that records what reaches it and answers as configured.
class Probe : public CCPageObject {
public:
    Probe(CCRect r, std::string name, EventLog* log = nullptr, int32_t tag = kTagNone, uint16_t mask = 0)
        : CCPageObject(r.left, r.top, r.right, r.bottom, nullptr, tag, mask), name(std::move(name)),
          log(log) {}
    ~Probe() override {
        if (destroyed) *destroyed = true;
    }

    bool onMessage(CCMsg& msg) override {
        record("msg:" + std::to_string(msg.code));
        if (msg.code == kMsgFadeFinished) ++fadeFinished;
        if (msg.code == kMsgHover) hoverTarget = msg.target;
        if (onMsg) onMsg(msg);
        return handled.count(msg.code) != 0;
    }
    bool onMouse(CCMouseMsg& msg) override {
        record("mouse:" + std::to_string(msg.code));
        bool hit = hitTest({msg.x, msg.y});
        if (msg.code == kMsgPressProbe && claimProbe && hit) {
            msg.target = this;
            return true;
        }
        if (msg.code == kMsgMouseMove && hoverable && hit)
            if (CCPageManager* m = manager()) m->setHover(this);
        if (closeModalOnPress && msg.code == kMsgLeftDown && hit) {
            manager()->showModal(nullptr);
            return true;
        }
        return handled.count(msg.code) != 0;
    }
    void enabledChanged(bool on) override { record(on ? "enabled" : "disabled"); }
    void shownChanged(bool on) override { record(on ? "shown" : "hidden"); }
    void boundsChanged() override { ++boundsChanges; }
    void draw(CCDrawContext& ctx) override {
        record("draw");
        drawnOpacity = ctx.opacity();
        drawnOverlay = ctx.overlayDepth();
        if (paint) ctx.fillRect(bounds, colour);
        if (onDraw) onDraw(ctx);
    }
    int32_t cursorAt(int32_t, int32_t) override { return cursor; }
    int32_t modalMode() const override { return mode; }

    void record(const std::string& what) {
        if (log) log->add(name + ":" + what);
    }

    std::string name;
    EventLog* log;
    std::set<uint16_t> handled;
    bool claimProbe = false;
    bool hoverable = false;
    bool closeModalOnPress = false;
    bool paint = false;
    CCColour colour{255, 255, 255, 255};
    int32_t cursor = 0;
    int32_t mode = 0;
    int32_t boundsChanges = 0;
    std::atomic<int32_t> fadeFinished{0};
    CCPageObject* hoverTarget = nullptr;
    uint8_t drawnOpacity = 0;
    int32_t drawnOverlay = 0;
    bool* destroyed = nullptr;
    std::function<void(CCDrawContext&)> onDraw;
    std::function<void(CCMsg&)> onMsg;
};

inline std::unique_ptr<Probe> probe(CCRect r, std::string name, EventLog* log = nullptr,
                                    int32_t tag = kTagNone, uint16_t mask = 0) {
    return std::make_unique<Probe>(r, std::move(name), log, tag, mask);
}

class FakeClock : public Clock {
public:
    uint32_t milliseconds() const override { return now.load(); }
    void advance(uint32_t ms) { now += ms; }
    std::atomic<uint32_t> now{1000};
};

// A manager that records its presents instead of showing them.
class TestManager : public CCPageManager {
public:
    explicit TestManager(CCRect r = {0, 0, 64, 64}, const Clock* clock = nullptr, bool fadeThread = false)
        : CCPageManager(r, clock, fadeThread) {}
    void presentRect(CCRect rect) override {
        {
            std::lock_guard lock(m);
            presents.push_back(rect);
        }
        if (forwardPresents) CCPageManager::presentRect(rect);
    }
    std::atomic<bool> forwardPresents{false};
    std::vector<CCRect> takePresents() {
        std::lock_guard lock(m);
        return std::exchange(presents, {});
    }
    // Opens the manager on an off-screen context of its size.
    void openOffscreen() {
        surface = CCDrawContext::createOffscreen(getBounds().width(), getBounds().height());
        attachWindow(nullptr, surface.get(), nullptr);
        setOpen(true);
    }
    std::unique_ptr<CCDrawContext> surface;

private:
    std::mutex m;
    std::vector<CCRect> presents;
};

// A parameter host that only keeps the view bindings.
class BindingHost : public CCParameterHost {
public:
    int32_t parameterCount() const override { return 10; }
    bool hasParameter(int32_t tag) const override { return tag >= 0 && tag < 10; }
    float value(int32_t) const override { return 0; }
    bool isIntParameter(int32_t) const override { return true; }
    int32_t intValue(int32_t) const override { return 0; }
    CCParameterRange range(int32_t) const override { return {0, 1}; }
    std::string formatText(int32_t) const override { return {}; }
    bool parseText(int32_t, std::string_view, float&) const override { return false; }
    void bindView(int32_t tag, CCPageObject* view) override { views[tag] = view; }
    void unbindView(int32_t tag, CCPageObject* view) override {
        if (views[tag] == view) views.erase(tag);
    }
    std::map<int32_t, CCPageObject*> views;
};
