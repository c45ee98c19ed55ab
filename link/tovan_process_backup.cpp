// Backup and restore: every user preset, the global settings and the
// setlists, out of the pedal into a file and back. Both check every exchange:
// a backup either holds exactly what the pedal holds or is not written, and a
// restore names every slot it could not put on the pedal.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "link/preset_file_codec.h"
#include "link/tovan_process.h"
#include "model/parameter_rounding.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "platform/atomic_file.h"

using namespace tovan;
using namespace presetfile;

namespace {

constexpr const char* kWriteFailedText =
    "The file could not be written. Check the folder and the free space.";

constexpr std::chrono::milliseconds kPresetWaitStep{5};
constexpr uint32_t kPresetWaitLimitMs = 1000;
// A preset whose reads fail is read again from its selection once.
constexpr int kPresetReadRounds = 2;

std::string userLabel(int32_t slot) {
    return presetLabel(kPresetsPerBank + slot);
}

std::string joinedLabels(const std::vector<int32_t>& slots) {
    std::string text;
    for (int32_t slot : slots)
        text += (text.empty() ? "" : ", ") + userLabel(slot);
    return text;
}

std::string fixedText(const char* text, size_t size) {
    return std::string(text, strnlen(text, size));
}

} // namespace

bool TovanProcess::pedalGone() const {
    return !connected || current.lastStatus() == HidStatus::disconnected;
}

std::optional<proto::Payload> TovanProcess::requestPatiently(uint8_t group, uint16_t command,
                                                             const Address& address) {
    for (int round = 0; round < 2 && !pedalGone(); ++round)
        if (auto answer = request(group, command, address)) return answer;
    return std::nullopt;
}

bool TovanProcess::writePatiently(uint8_t group, uint16_t command, const Address& address,
                                  const proto::Payload& data) {
    for (int round = 0; round < 2 && !pedalGone(); ++round)
        if (write(group, command, address, data)) return true;
    return false;
}

std::optional<int32_t> TovanProcess::queryActivePreset() {
    const auto answer = requestPatiently(proto::kGroupPreset, proto::preset::kActive);
    if (!answer) return std::nullopt;
    return static_cast<int32_t>(proto::decodePresetCode((*answer)[0]));
}

std::optional<TovanProcess::PedalPlace> TovanProcess::readPedalPlace() {
    const std::optional<int32_t> preset = queryActivePreset();
    if (!preset) return std::nullopt;
    const auto status = requestPatiently(proto::kGroupDevice, proto::device::kStatus);
    if (!status) return std::nullopt;
    const uint8_t flags = (*status)[proto::status::kFlagsByte];
    // The events this answer carried are the poll's business afterwards.
    if (flags & proto::status::kNamesChanged) namesChanged = true;
    return PedalPlace{*preset, (flags & proto::status::kModeSwitch) != 0};
}

bool TovanProcess::putPedalBack(const PedalPlace& place) {
    proto::Payload preset{};
    preset[0] = proto::encodePresetCode(static_cast<unsigned>(place.preset));
    proto::Payload mode{};
    mode[0] = place.modeSwitch ? 1 : 0;
    const bool selected = writePatiently(proto::kGroupPreset, proto::preset::kActive, {}, preset);
    const bool switched = writePatiently(proto::kGroupPreset, proto::preset::kModeSwitch, {}, mode);
    return selected && switched;
}

TovanProcess::PresetWait TovanProcess::confirmActivePreset(int32_t preset, uint32_t askedAt) {
    const uint32_t start = clock->milliseconds();
    uint32_t stepStart = askedAt;
    bool reverted = false;
    for (;;) {
        // The pace is kept from the start of the previous report, not from its
        // end: on a slow pedal the reports' own time counts toward the step.
        const auto elapsed = std::chrono::milliseconds(clock->milliseconds() - stepStart);
        if (elapsed < kPresetWaitStep) pause(kPresetWaitStep - elapsed);
        stepStart = clock->milliseconds();
        // A lost or failed answer is asked again: the pedal cleared its event
        // bits when it answered, so the bit may be gone, which the read of the
        // active preset below makes up for.
        if (const auto status = request(proto::kGroupDevice, proto::device::kStatus)) {
            const uint8_t flags = (*status)[proto::status::kFlagsByte];
            if (flags & proto::status::kPresetChanged) return PresetWait::Active;
            if ((flags & proto::status::kReload) && !reverted) {
                // Another preset was left edited: discard that, once, and ask
                // again. The revert raises bit 5 itself, so a later bit 5 alone
                // is not taken for new edits.
                reverted = true;
                revertPreset();
                selectPresetOnPedal(preset);
            }
        }
        if (pedalGone()) return PresetWait::Failed;
        if (clock->milliseconds() - start > kPresetWaitLimitMs) break;
    }
    const std::optional<int32_t> active = queryActivePreset();
    if (!active) return PresetWait::Failed;
    return *active == preset ? PresetWait::Active : PresetWait::TimedOut;
}

std::string TovanProcess::readUserPresetChunk(int32_t slot, Writer& writer) {
    const int32_t preset = kPresetsPerBank + slot;
    std::string reason;
    for (int round = 0; round < kPresetReadRounds && !pedalGone(); ++round) {
        const uint32_t asked = clock->milliseconds();
        if (!selectPresetOnPedal(preset)) {
            reason = "the Tovan did not take its selection";
            continue;
        }
        const PresetWait wait = confirmActivePreset(preset, asked);
        if (wait != PresetWait::Active) {
            reason =
                wait == PresetWait::TimedOut ? "the Tovan did not switch to it" : "the Tovan did not answer";
            continue;
        }
        std::map<int32_t, int32_t> values;
        const uint8_t code = proto::encodePresetCode(static_cast<unsigned>(preset));
        const auto name = requestPatiently(proto::kGroupPreset, proto::preset::kName, {code, 0, 0, 0});
        const auto first =
            requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 0, 0, 0});
        const auto second =
            requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 1, 0, 0});
        if (!name || !first || !second || !readValueBlocks(true, values)) {
            reason = "the Tovan did not answer";
            continue;
        }
        char shortName[4] = {};
        char description[21] = {};
        std::memcpy(shortName, name->data(), 3);
        std::memcpy(description, first->data(), 16);
        std::memcpy(description + 16, second->data(), 4);
        presetfile::writePresetChunk(writer, {fixedText(shortName, 3), fixedText(description, 20)},
                                     [&values](int32_t index) { return values.at(index); });
        return {};
    }
    return pedalGone() ? "the Tovan was disconnected" : reason;
}

TovanProcess::BackupRead TovanProcess::readBackup() {
    BackupRead result;
    if (pageView != nullptr) {
        pageView->showProgress(true);
        pageView->setProgress(0);
    }
    std::string& failure = result.failure;
    Writer writer;
    writer.fileHeader(FileKind::Backup);

    // The place to put the pedal back to is its own, read now.
    const std::optional<PedalPlace> place = readPedalPlace();
    if (!place) failure = "the Tovan did not answer";
    std::map<int32_t, int32_t> globals;
    if (failure.empty() && !readValueBlocks(false, globals))
        failure = "its global settings could not be read";
    if (failure.empty() && !readSetlists(true)) failure = "its setlists could not be read";
    if (failure.empty()) {
        writeGlobalChunk(writer, [&globals](int32_t index) { return globals.at(index); });
        std::vector<SetlistSlot> slots;
        for (const SetlistRecord& record : setlistTable)
            for (int32_t k = 0; k < slotsPerSetlistValue; ++k)
                slots.push_back({record.program(k), record.preset(k)});
        writeSetlistChunk(writer, setlistCountValue, slotsPerSetlistValue, slots);
    }

    bulkBusy = true;
    if (failure.empty() && !setPedalMode(false)) failure = "the Tovan did not take the mode switch";
    for (int32_t slot = 0; slot < kBackupPresets && failure.empty(); ++slot) {
        const std::string reason = readUserPresetChunk(slot, writer);
        if (!reason.empty()) {
            failure = "user preset " + userLabel(slot) + " could not be read: " + reason;
            break;
        }
        if (pageView != nullptr) {
            pageView->setProgress(slot + 1);
            pageView->invalidatePage();
        }
    }
    if (place) {
        result.place =
            presetLabel(place->preset) + " with its mode switch " + (place->modeSwitch ? "on" : "off");
        result.putBack = putPedalBack(*place);
    }
    bulkBusy = false;
    if (pageView != nullptr) pageView->showProgress(false);
    // The page shows the pedal as it is now, without waiting for the next poll.
    if (!pedalGone()) reload(false);
    if (failure.empty()) result.bytes = writer.bytes();
    return result;
}

FileOutcome TovanProcess::saveBackupTo(const std::string& path) {
    const BackupRead backup = readBackup();
    // Only a complete backup replaces a file; a short one would pass for good.
    if (!backup.failure.empty())
        return FileOutcome::failed("The backup could not be completed: " + backup.failure +
                                   ". No backup file was written; an existing file was left as it was.");
    if (!writeFileAtomically(path, backup.bytes)) return FileOutcome::failed(kWriteFailedText);
    if (!backup.putBack)
        return FileOutcome::failed("The backup was saved, but the Tovan could not be put back on " +
                                   backup.place + ".");
    return FileOutcome::done();
}

bool TovanProcess::writeRestoredValue(int32_t index, int32_t value, std::map<int32_t, int32_t>& known) {
    const std::optional<DeviceField> row = deviceFieldOf(index);
    if (!row) return true;
    const int32_t minimum = parameterManager->GetIntMin(index);
    const int32_t maximum = parameterManager->GetIntMax(index);
    if (maximum >= minimum) value = std::clamp(value, minimum, maximum);
    // The edit buffer still holds what the last preset stored: only changes
    // go out, as turning the controls would send them.
    const auto held = known.find(index);
    if (held != known.end() && held->second == value && index != kActiveSetlist) return true;
    proto::Payload data{};
    proto::putS16(data.data(), static_cast<int16_t>(value + editorToDeviceValue(index, 0)));
    if (!writePatiently(proto::kGroupPreset, row->command, {row->item, row->filter, 0, 0}, data)) {
        known.erase(index);
        return false;
    }
    known[index] = value;
    parameterManager->SetValue(index, static_cast<float>(value));
    if (pageView != nullptr && pageView->hasControl(index)) pageView->setControlValueQuiet(index, value);
    if (index == kActiveSetlist) return writePatiently(proto::kGroupSetlist, proto::setlist::kSlotReset, {});
    return true;
}

bool TovanProcess::storeRestoredPreset(const PresetContents& preset, int32_t slot,
                                       std::map<int32_t, int32_t>& known) {
    bool written = true;
    for (const ParameterValue& v : preset.values)
        written = writeRestoredValue(v.index, v.value, known) && written;
    // A preset with a value missing on the pedal would be stored wrong: the
    // slot keeps what it had.
    if (!written) return false;
    const PresetName name = preset.name.value_or(PresetName{});
    bool stored = false;
    for (int round = 0; round < 2 && !stored && !pedalGone(); ++round)
        stored = storePreset(name.shortName.c_str(), name.description.c_str(), slot);
    return stored && confirmActivePreset(kPresetsPerBank + slot, clock->milliseconds()) == PresetWait::Active;
}

std::vector<int32_t> TovanProcess::namesThatDiffer(const DecodedFile& file, const std::vector<bool>& stored) {
    std::vector<int32_t> differ;
    for (size_t slot = 0; slot < file.presets.size() && !pedalGone(); ++slot) {
        if (!stored[slot]) continue;
        const PresetName expected = file.presets[slot].name.value_or(PresetName{});
        const auto code = proto::encodePresetCode(static_cast<unsigned>(kPresetsPerBank + slot));
        const auto name = requestPatiently(proto::kGroupPreset, proto::preset::kName, {code, 0, 0, 0});
        const auto first =
            requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 0, 0, 0});
        const auto second =
            requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 1, 0, 0});
        char description[21] = {};
        if (first) std::memcpy(description, first->data(), 16);
        if (second) std::memcpy(description + 16, second->data(), 4);
        const bool same =
            name && first && second &&
            fixedText(reinterpret_cast<const char*>(name->data()), 3) == expected.shortName.substr(0, 3) &&
            fixedText(description, 20) == expected.description.substr(0, 20);
        if (!same) differ.push_back(static_cast<int32_t>(slot));
    }
    return differ;
}

bool TovanProcess::restoreBackup(const DecodedFile& file, std::string& pedalError) {
    if (pageView != nullptr) {
        pageView->showProgress(true);
        pageView->setProgress(0);
    }
    const std::optional<PedalPlace> place = readPedalPlace();
    if (!place) {
        if (pageView != nullptr) pageView->showProgress(false);
        pedalError = "\n\nThe Tovan did not answer; nothing was restored.";
        return true;
    }
    bulkBusy = true;
    ++restores;
    std::vector<std::string> problems;
    if (!setPedalMode(false)) problems.push_back("the mode switch could not be set");

    std::map<int32_t, int32_t> known;
    if (file.globals) {
        bool written = true;
        for (const ParameterValue& v : *file.globals)
            written = writeRestoredValue(v.index, v.value, known) && written;
        if (!written) problems.push_back("some global settings were not written");
    }
    if (file.setlists) {
        // Which slots the pedal has decides what is written: it must be known.
        const auto count = requestPatiently(proto::kGroupSetlist, proto::setlist::kCount);
        const auto slots = requestPatiently(proto::kGroupSetlist, proto::setlist::kSlotCount);
        if (count && slots) {
            setlistCountValue = (*count)[0];
            slotsPerSetlistValue = (*slots)[0];
        }
        bool written = count && slots;
        for (const SetlistEntry& entry : file.setlists->entries) {
            // Only slots this pedal has are written.
            if (entry.setlist >= setlistCountValue || entry.slot >= slotsPerSetlistValue) continue;
            proto::Payload data{};
            data[0] = entry.value;
            const uint16_t command = entry.field == SetlistField::Program ? proto::setlist::kSlotProgram
                                                                          : proto::setlist::kSlotPreset;
            written =
                writePatiently(proto::kGroupSetlist, command,
                               {static_cast<uint8_t>(entry.setlist), static_cast<uint8_t>(entry.slot), 0, 0},
                               data) &&
                written;
        }
        if (!written) problems.push_back("some setlist slots were not written");
        readSetlists();
    }

    std::vector<bool> stored(file.presets.size(), false);
    std::vector<int32_t> failed;
    for (size_t slot = 0; slot < file.presets.size(); ++slot) {
        const PresetContents& preset = file.presets[slot];
        // A preset of a later version, or one that was not whole, leaves its
        // slot as it is; the file's own message says so.
        if (preset.usable) {
            stored[slot] = !pedalGone() && storeRestoredPreset(preset, static_cast<int32_t>(slot), known);
            if (!stored[slot]) {
                failed.push_back(static_cast<int32_t>(slot));
                // What the edit buffer holds is no longer known for sure.
                known.clear();
            }
        }
        if (pageView != nullptr) {
            pageView->setProgress(static_cast<int32_t>(slot) + 1);
            pageView->invalidatePage();
        }
    }
    const std::vector<int32_t> differ = namesThatDiffer(file, stored);

    if (!putPedalBack(*place))
        problems.push_back("the Tovan could not be put back on " + presetLabel(place->preset));
    bulkBusy = false;
    if (pageView != nullptr) pageView->showProgress(false);
    // The values written last were the last slot's: the page goes back to the
    // pedal's own preset now, and the next poll rebuilds the preset menus.
    if (!pedalGone()) reload(false);
    namesChanged = true;

    if (!failed.empty()) problems.push_back("user presets not restored: " + joinedLabels(failed));
    if (!differ.empty())
        problems.push_back("names that did not read back as restored: " + joinedLabels(differ));
    for (const std::string& problem : problems)
        pedalError +=
            "\n\n" + std::string(1, static_cast<char>(std::toupper(problem[0]))) + problem.substr(1) + ".";
    return file.complete && !file.flags.damaged;
}
