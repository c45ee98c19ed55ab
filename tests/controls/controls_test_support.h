#pragma once

#include "platform/clock.h"
#include "toolkit/controls/control.h"
#include "toolkit/page_manager.h"
#include "toolkit/parameter_host.h"
#include "toolkit/toolkit.h"

#include <cmath>
#include <map>
#include <string>
#include <vector>

// Records every 514 that reaches it as a listener or an ancestor.
class Recorder : public CCPageObject {
public:
    Recorder() : CCPageObject(0, 0, 640, 480) {}
    struct Change {
        int32_t tag;
        int32_t value;
        float normalised;
        CCPageObject* control;
    };
    bool onMessage(CCMsg& msg) override {
        if (msg.code != kMsgValueChanged) return false;
        changes.push_back({msg.first, msg.second, msg.value, msg.target});
        return true;
    }
    std::vector<int32_t> values() const {
        std::vector<int32_t> out;
        for (const Change& c : changes)
            out.push_back(c.value);
        return out;
    }
    std::vector<Change> changes;
};

// A parameter set of integer parameters, normalised the way controls normalise.
class FakeParameters : public CCParameterHost {
public:
    struct Param {
        int32_t minimum;
        int32_t maximum;
        int32_t value;
        std::string unit;
    };
    std::map<int32_t, Param> params;
    std::map<int32_t, CCPageObject*> views;

    void add(int32_t tag, int32_t lo, int32_t hi, int32_t v, std::string unit = {}) {
        params[tag] = {lo, hi, v, std::move(unit)};
    }
    int32_t parameterCount() const override { return 173; }
    bool hasParameter(int32_t tag) const override { return params.count(tag) != 0; }
    float value(int32_t tag) const override {
        const Param& p = params.at(tag);
        return float(p.value - p.minimum) / float(CControl::computeRange(p.minimum, p.maximum));
    }
    bool isIntParameter(int32_t) const override { return true; }
    int32_t intValue(int32_t tag) const override { return params.at(tag).value; }
    CCParameterRange range(int32_t tag) const override {
        return hasParameter(tag) ? CCParameterRange{params.at(tag).minimum, params.at(tag).maximum}
                                 : CCParameterRange{};
    }
    std::string formatText(int32_t tag) const override {
        if (!hasParameter(tag)) return {};
        return std::to_string(params.at(tag).value) + params.at(tag).unit;
    }
    bool parseText(int32_t tag, std::string_view text, float& normalised) const override {
        if (!hasParameter(tag) || text.find_first_of("0123456789") == std::string_view::npos) return false;
        const Param& p = params.at(tag);
        double n = std::stod(std::string(text));
        n = std::clamp(n, double(p.minimum), double(p.maximum));
        normalised = float((n - p.minimum) / CControl::computeRange(p.minimum, p.maximum));
        return true;
    }
    void bindView(int32_t tag, CCPageObject* view) override { views[tag] = view; }
    void unbindView(int32_t tag, CCPageObject* view) override {
        if (views[tag] == view) views.erase(tag);
    }
};

// A manager without a window or fade thread; parameters are optional.
struct ManagerFixture {
    ManagerFixture() : manager(CCRect{0, 0, 640, 480}, nullptr, false) {}
    CCPageManager manager;
};

inline CCMouseMsg mouseAt(uint16_t code, int32_t x, int32_t y) {
    CCMouseMsg msg(code, x, y);
    msg.screenX = x;
    msg.screenY = y;
    return msg;
}

// Starts the toolkit for one test and stops it again, whatever happens.
class ToolkitSessionGuard {
public:
    ToolkitSessionGuard() { toolkitStart(); }
    ~ToolkitSessionGuard() { toolkitStop(); }
};

// A clock moved by hand, for flashing and pulsing.
class HandClock : public Clock {
public:
    uint32_t milliseconds() const override { return now; }
    void advance(uint32_t ms) { now += ms; }
    uint32_t now = 5000;
};
