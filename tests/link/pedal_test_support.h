#pragma once

// A simulated pedal whose every report is logged, and a page that records
// what the link did to it, for protocol tests.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "link/pedal_view.h"
#include "link/protocol.h"
#include "link/tovan_process.h"
#include "platform/hid/sim/sim_backend.h"

namespace pedaltest {

// One exchange as the pedal saw it: the header and the data written or answered.
struct Frame {
    tovan::proto::Header header;
    tovan::proto::Payload data{};
    bool answered = false;

    bool is(uint8_t direction, uint8_t group, uint16_t command) const {
        return header.direction == direction && header.group == group && header.command == command;
    }
};

struct Log {
    std::mutex mutex;
    // Reports in order: 'w' written, 'r' read back.
    std::vector<std::pair<char, tovan::proto::Payload>> reports;
    // Decides each report's fate before the pedal sees it: 'w' an output
    // report, 'r' the answer to `header`. Anything but ok fails the report; a
    // failed answer was still given by the pedal, and is lost on the way.
    std::function<tovan::HidStatus(char kind, const tovan::proto::Header& header, bool isHeader)> fault;
    tovan::proto::Header lastHeader;
};

class LoggingHandle : public tovan::HidHandle {
public:
    LoggingHandle(std::unique_ptr<tovan::HidHandle> inner, std::shared_ptr<Log> log)
        : inner(std::move(inner)), log(std::move(log)) {}
    tovan::HidStatus write(const tovan::HidReport& report, std::chrono::milliseconds timeout) override {
        tovan::proto::Payload payload;
        std::copy(report.begin() + 1, report.end(), payload.begin());
        tovan::proto::Header header;
        const bool isHeader = tovan::proto::decodeHeader(payload, header);
        if (isHeader) log->lastHeader = header;
        if (log->fault) {
            const tovan::HidStatus fate = log->fault('w', log->lastHeader, isHeader);
            if (fate != tovan::HidStatus::ok) return fate;
        }
        const tovan::HidStatus status = inner->write(report, timeout);
        if (status == tovan::HidStatus::ok) record('w', report);
        return status;
    }
    tovan::HidStatus getInputReport(tovan::HidReport& report, std::chrono::milliseconds timeout) override {
        tovan::HidReport answer = report;
        const tovan::HidStatus status = inner->getInputReport(answer, timeout);
        if (status != tovan::HidStatus::ok) return status;
        if (log->fault) {
            const tovan::HidStatus fate = log->fault('r', log->lastHeader, false);
            if (fate != tovan::HidStatus::ok) return fate;
        }
        report = answer;
        record('r', report);
        return status;
    }
    std::unique_ptr<tovan::HidHandle> duplicate() const override {
        auto copy = inner->duplicate();
        return copy ? std::make_unique<LoggingHandle>(std::move(copy), log) : nullptr;
    }

private:
    void record(char kind, const tovan::HidReport& report) {
        tovan::proto::Payload payload;
        std::copy(report.begin() + 1, report.end(), payload.begin());
        std::lock_guard lock(log->mutex);
        log->reports.emplace_back(kind, payload);
    }
    std::unique_ptr<tovan::HidHandle> inner;
    std::shared_ptr<Log> log;
};

class LoggingBackend : public tovan::HidBackend {
public:
    explicit LoggingBackend(int pedals = 1) : sim(pedals) {}
    std::optional<std::vector<std::string>> enumerate() override { return sim.enumerate(); }
    std::unique_ptr<tovan::HidHandle> open(const std::string& path) override {
        auto handle = sim.open(path);
        return handle ? std::make_unique<LoggingHandle>(std::move(handle), log) : nullptr;
    }
    std::unique_ptr<tovan::HotplugMonitor> watch(std::function<void()> changed) override {
        return sim.watch(std::move(changed));
    }
    bool sharedWithOtherProcesses() const override { return false; }

    // The exchanges logged since the last clear: each header with what followed it.
    std::vector<Frame> frames() {
        std::lock_guard lock(log->mutex);
        std::vector<Frame> out;
        for (const auto& [kind, payload] : log->reports) {
            tovan::proto::Header header;
            if (kind == 'w' && tovan::proto::decodeHeader(payload, header)) {
                out.push_back(Frame{header, {}, false});
                continue;
            }
            if (out.empty()) continue;
            out.back().data = payload;
            out.back().answered = true;
        }
        return out;
    }
    std::vector<Frame> framesOf(uint8_t direction, uint8_t group, uint16_t command) {
        std::vector<Frame> matching;
        for (const Frame& frame : frames())
            if (frame.is(direction, group, command)) matching.push_back(frame);
        return matching;
    }
    size_t writeCount() {
        size_t n = 0;
        for (const Frame& frame : frames())
            n += frame.header.direction == tovan::proto::kWrite ? 1 : 0;
        return n;
    }
    void clear() {
        std::lock_guard lock(log->mutex);
        log->reports.clear();
    }

    tovan::SimHidBackend sim;
    std::shared_ptr<Log> log = std::make_shared<Log>();
};

// A page that has a control for every tag it was given, remembers what the
// link set, and routes notified changes back like the editor does.
class RecordingView : public PedalView {
public:
    bool hasControl(int32_t tag) override { return controls.count(tag) != 0; }
    void setControlValue(int32_t tag, int32_t value) override {
        values[tag] = value;
        if (process != nullptr && tag < 173) process->values().sendParameter(tag, static_cast<float>(value));
    }
    void setControlValueQuiet(int32_t tag, int32_t value) override {
        values[tag] = value;
        quiet.push_back({tag, value});
    }
    void setControlRange(int32_t tag, int32_t minimum, int32_t maximum, bool floatMode) override {
        ranges[tag] = {minimum, maximum};
        floatModes[tag] = floatMode;
    }
    void forceControlValue(int32_t tag, int32_t value) override { setControlValue(tag, value); }
    void setControlVisible(int32_t tag, bool visible) override { visibility[tag] = visible; }
    std::string controlText(int32_t tag) override { return texts[tag]; }
    void setControlText(int32_t tag, std::string_view text) override { texts[tag] = std::string(text); }
    void clearMenu(int32_t tag) override { menus[tag].clear(); }
    void beginSubmenu(int32_t tag, std::string_view title) override {
        menus[tag].push_back(">" + std::string(title));
    }
    void endSubmenu(int32_t tag) override { menus[tag].push_back("<"); }
    void addMenuItem(int32_t tag, std::string_view text, std::string_view, int32_t value) override {
        menus[tag].push_back(std::string(text) + "=" + std::to_string(value));
    }
    void copyMenu(int32_t from, int32_t to) override { menus[to] = menus[from]; }
    void showStatus(const PedalStatusView& shown) override { status = shown; }
    void setConnected(bool on) override { connected = on; }

    TovanProcess* process = nullptr;
    std::set<int32_t> controls;
    std::map<int32_t, int32_t> values;
    std::vector<std::pair<int32_t, int32_t>> quiet;
    std::map<int32_t, std::pair<int32_t, int32_t>> ranges;
    std::map<int32_t, bool> floatModes;
    std::map<int32_t, bool> visibility;
    std::map<int32_t, std::string> texts;
    std::map<int32_t, std::vector<std::string>> menus;
    PedalStatusView status;
    bool connected = false;
};

} // namespace pedaltest
