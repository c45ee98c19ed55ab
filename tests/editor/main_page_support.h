#pragma once

// The main page in a page manager, bound to the link owner on a logging
// simulated pedal, as the editor builds it: the parameter set first, then the
// page, its first show, the connection and the full reload.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "editor/back_page.h"
#include "editor_test_support.h"
#include "link/tovan_process.h"
#include "platform/clock.h"
#include "tests/link/pedal_test_support.h"
#include "toolkit/controls/control.h"
#include "toolkit/draw_context.h"
#include "toolkit/messages.h"
#include "toolkit/page_manager.h"
#include "toolkit/preference_manager.h"

// The editor's part of the road of an edit: parameter tags go to the link.
class LinkRoutingManager : public CCPageManager {
public:
    explicit LinkRoutingManager(const Clock* clock) : CCPageManager(CCRect{0, 0, 640, 650}, clock, false) {}
    bool onMessage(CCMsg& msg) override {
        if (msg.code == kMsgValueChanged && process != nullptr && msg.first >= 0 && msg.first < 173) {
            process->values().sendParameter(msg.first, static_cast<float>(msg.second));
            return true;
        }
        if (msg.code == kMsgValueChanged && prefs != nullptr && (msg.first == 177 || msg.first == 178)) {
            prefs->setInt(static_cast<uint16_t>(msg.first), msg.second, true);
            return true;
        }
        if (msg.code == kMsgValueChanged && msg.first == 189) {
            topmost.push_back(msg.second);
            return true;
        }
        return CCPageManager::onMessage(msg);
    }
    // Remembers what reached the window.
    void presentRect(CCRect rect) override {
        presented.push_back(rect);
        CCPageManager::presentRect(rect);
    }
    TovanProcess* process = nullptr;
    CCPreferenceManager* prefs = nullptr;
    std::vector<CCRect> presented;
    // The topmost commands the window was given.
    std::vector<int32_t> topmost;
};

class MainPageTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        context = CCDrawContext::createOffscreen(640, 650);
        process = std::make_unique<TovanProcess>(backend);
        process->exchange().setSleeper([](std::chrono::milliseconds) {});
        process->setListener(&manager);
        manager.attachWindow(nullptr, context.get(), process.get());
        manager.setOpen(true);
        manager.process = process.get();
        process->Open();
        page = manager.addChild(std::make_unique<CBackPage>(CCRect{0, 0, 640, 650}, nullptr));
        process->setView(page);
        page->setProcess(process.get());
        page->pageShown();
        if (connect) {
            process->session().connect();
            process->session().reloadLocked(true);
        }
        backend.clear();
    }
    void TearDown() override {
        manager.attachWindow(nullptr, nullptr, nullptr);
        manager.removeChild(page);
        process.reset();
        EditorTest::TearDown();
    }

    CControl* control(int32_t tag) { return dynamic_cast<CControl*>(page->findByTag(tag)); }
    // Turns a control as the player would: the change is notified.
    void turn(int32_t tag, int32_t value) {
        control(tag)->setValue(value, Notify::yes, Redraw::yes, SelfOnly::yes);
    }
    int32_t valueOf(int32_t tag) { return control(tag)->getValue(); }
    // Whether the object is on screen: it and every panel it is in are shown and visible.
    static bool showing(const CCPageObject* object) {
        for (; object != nullptr; object = object->getParent())
            if (!object->isShown() || !object->isVisible()) return false;
        return true;
    }
    std::string artefact(const std::string& name) { return std::string(TOVAN_TEST_OUTPUT_DIR) + "/" + name; }
    // Finishes every fade (enable and disable fades among them), then draws the page.
    void render() {
        clock.now += 10000;
        manager.fades().runPass();
        manager.redraw(*context, nullptr);
    }
    tovan::sim::SimPedal& pedal() { return backend.sim.pedal(0); }

    bool connect = true;
    pedaltest::LoggingBackend backend;
    SteppedClock clock;
    LinkRoutingManager manager{&clock};
    std::unique_ptr<CCDrawContext> context;
    std::unique_ptr<TovanProcess> process;
    CBackPage* page = nullptr;
};
