// A pedal that answers whatever the fuzzer says: every report's fate (sent,
// failed, timed out, unplugged) and every answer come from the input. The
// link connects, reloads, polls, backs up and restores a backup. Whatever the
// pedal answers, the link must not crash or hang, must send no write while
// it only reads, and must never write a value outside a range the pedal
// reported for that field.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <span>
#include <tuple>

#include "editor/pedal_questions.h"
#include "link/preset_file_codec.h"
#include "link/protocol.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "platform/headless/scripted_dialogs.h"

using namespace tovan;

namespace {

enum class Phase { Reading, Backup, Restore };

struct Script {
    std::span<const uint8_t> input;
    size_t at = 0;
    bool gone = false;
    Phase phase = Phase::Reading;
    // Set while the link reads ranges (the full reload after connecting).
    bool rangesRead = false;
    proto::Header lastHeader;
    bool lastWasHeader = false;
    // Device field -> the range the pedal reported while the link read ranges.
    std::map<std::tuple<uint16_t, uint8_t, uint8_t>, std::pair<int16_t, int16_t>> ranges;

    uint8_t next() {
        if (at >= input.size()) {
            gone = true; // nothing more to say: the pedal leaves
            return 0;
        }
        return input[at++];
    }
    HidStatus fate() {
        const uint8_t byte = next();
        if (gone) return HidStatus::disconnected;
        switch (byte % 32) {
        case 0:
            return HidStatus::failed;
        case 1:
            return HidStatus::timedOut;
        default:
            return HidStatus::ok;
        }
    }
};

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "pedal fuzz: %s\n", what);
    std::abort();
}

bool isValueCommand(const proto::Header& header) {
    return header.group == proto::kGroupPreset && proto::isValueCommand(header.command);
}

class ScriptHandle : public HidHandle {
public:
    explicit ScriptHandle(Script& script) : script(script) {}

    HidStatus write(const HidReport& report, std::chrono::milliseconds) override {
        const HidStatus status = script.fate();
        if (status != HidStatus::ok) return status;
        proto::Payload payload;
        std::copy(report.begin() + 1, report.end(), payload.begin());
        proto::Header header;
        if (proto::decodeHeader(payload, header)) {
            if (header.direction == proto::kWrite && script.phase == Phase::Reading)
                fault("a write exchange while reading the pedal");
            script.lastHeader = header;
            script.lastWasHeader = true;
            return status;
        }
        if (script.lastWasHeader && script.lastHeader.direction == proto::kWrite &&
            isValueCommand(script.lastHeader)) {
            const auto& a = script.lastHeader.address;
            const auto range = script.ranges.find({script.lastHeader.command, a[1], a[0]});
            const int16_t value = proto::getS16(payload.data());
            if (range != script.ranges.end() && (value < range->second.first || value > range->second.second))
                fault("a value written outside the range the pedal reported");
        }
        script.lastWasHeader = false;
        return status;
    }

    HidStatus getInputReport(HidReport& report, std::chrono::milliseconds) override {
        const HidStatus status = script.fate();
        if (status != HidStatus::ok) return status;
        report[0] = 0;
        for (size_t i = 1; i < report.size(); ++i)
            report[i] = script.next();
        if (script.gone) return HidStatus::disconnected;
        const proto::Header& header = script.lastHeader;
        // The ranges the link takes are those of the single-item reads of a
        // full reload. The active setlist's follows the setlist count instead.
        const bool activeSetlist = header.command == proto::preset::kGlobalValues && header.address[0] == 16;
        if (script.rangesRead && header.direction == proto::kRequest && isValueCommand(header) &&
            header.address[0] != proto::kBlockRead && !activeSetlist) {
            const int16_t minimum = proto::getS16(report.data() + 3);
            const int16_t maximum = proto::getS16(report.data() + 5);
            const auto field = std::make_tuple(header.command, header.address[1], header.address[0]);
            if (minimum <= maximum) script.ranges[field] = {minimum, maximum};
        }
        return status;
    }

    std::unique_ptr<HidHandle> duplicate() const override { return std::make_unique<ScriptHandle>(script); }

private:
    Script& script;
};

class ScriptBackend : public HidBackend {
public:
    explicit ScriptBackend(Script& script) : script(script) {}
    std::optional<std::vector<std::string>> enumerate() override {
        return std::vector<std::string>{"fuzz:0#vid_231c&pid_0002"};
    }
    std::unique_ptr<HidHandle> open(const std::string&) override {
        return std::make_unique<ScriptHandle>(script);
    }
    std::unique_ptr<HotplugMonitor> watch(std::function<void()>) override { return nullptr; }
    bool sharedWithOtherProcesses() const override { return false; }

private:
    Script& script;
};

// A page with a control for every parameter, whose notified changes come
// back to the link the way the editor routes them.
class EveryControl : public PedalView {
public:
    bool hasControl(int32_t tag) override { return tag >= 0 && tag < 173; }
    void setControlValue(int32_t tag, int32_t value) override {
        if (process != nullptr) process->values().sendParameter(tag, static_cast<float>(value));
    }
    void forceControlValue(int32_t tag, int32_t value) override { setControlValue(tag, value); }
    TovanProcess* process = nullptr;
};

// A backup of plausible and implausible values, the same for every run.
const presetfile::DecodedFile& backupFile() {
    static const presetfile::DecodedFile file = [] {
        presetfile::Writer writer;
        writer.fileHeader(presetfile::FileKind::Backup);
        presetfile::writeGlobalChunk(writer, [](int32_t index) { return index * 7 % 40 - 3; });
        std::vector<presetfile::SetlistSlot> slots(12 * 20, presetfile::SetlistSlot{3, 17});
        presetfile::writeSetlistChunk(writer, 12, 20, slots);
        for (int32_t slot = 0; slot < presetfile::kBackupPresets; ++slot) {
            const std::string name = "P" + std::to_string(slot % 10) + std::to_string(slot / 10);
            presetfile::writePresetChunk(
                writer, {name, "Restored " + std::to_string(slot)},
                [slot](int32_t index) { return (index * 37 + slot * 11) % 5000 - 1000; });
        }
        return presetfile::decodeFile(writer.bytes());
    }();
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Script script;
    script.input = {data, size};
    ScriptBackend backend(script);
    ScriptedDialogs dialogs;
    DialogHost* previous = setDialogHost(&dialogs);
    uint32_t now = 0;
    struct FuzzClock : Clock {
        const uint32_t* time;
        uint32_t milliseconds() const override { return *time; }
    } clock;
    clock.time = &now;
    {
        EveryControl view;
        TovanProcess process(backend, &view);
        view.process = &process;
        process.exchange().setSleeper(
            [&now](std::chrono::milliseconds step) { now += static_cast<uint32_t>(step.count()); });
        process.setClock(&clock);
        process.Open();
        if (process.session().connect()) {
            script.rangesRead = true;
            process.session().reloadLocked(true);
            script.rangesRead = false;
            for (int poll = 0; poll < 3; ++poll)
                process.session().pollStatus();
            script.phase = Phase::Backup;
            process.backup().read();
            script.phase = Phase::Restore;
            dialogs.answerNext(MessageAnswer::Yes);
            dialogs.answerNext(MessageAnswer::Yes);
            asking::loadDecodedFile(process, backupFile(), "fuzz.tovan_all");
            script.phase = Phase::Reading;
            process.session().pollStatus();
        }
        process.session().attachedPedals().clear();
    }
    setDialogHost(previous);
    return 0;
}
