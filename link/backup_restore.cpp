#include "link/backup_restore.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "link/pedal_view.h"
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

using PresetWait = PresetSlots::PresetWait;
using PedalPlace = PresetSlots::PedalPlace;

} // namespace

BackupRestore::BackupRestore(TovanProcess& process, LinkState& state)
    : process(process), state(state), exchange(process.exchange()) {}

std::string BackupRestore::readUserPresetChunk(int32_t slot, Writer& writer) {
    const int32_t preset = kPresetsPerBank + slot;
    std::string reason;
    for (int round = 0; round < kPresetReadRounds && !exchange.pedalGone(); ++round) {
        const uint32_t asked = state.clock->milliseconds();
        if (!process.presets().selectOnPedal(preset)) {
            reason = "the Tovan did not take its selection";
            continue;
        }
        const PresetWait wait = process.slots().confirmActive(preset, asked);
        if (wait != PresetWait::Active) {
            reason =
                wait == PresetWait::TimedOut ? "the Tovan did not switch to it" : "the Tovan did not answer";
            continue;
        }
        std::map<int32_t, int32_t> values;
        const uint8_t code = proto::encodePresetCode(static_cast<unsigned>(preset));
        const auto name =
            exchange.requestPatiently(proto::kGroupPreset, proto::preset::kName, {code, 0, 0, 0});
        const auto first =
            exchange.requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 0, 0, 0});
        const auto second =
            exchange.requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 1, 0, 0});
        if (!name || !first || !second || !process.values().readValueBlocks(true, values)) {
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
    return exchange.pedalGone() ? "the Tovan was disconnected" : reason;
}

BackupRestore::BackupRead BackupRestore::read() {
    BackupRead result;
    if (state.view != nullptr) {
        state.view->showProgress(true);
        state.view->setProgress(0);
    }
    std::string& failure = result.failure;
    Writer writer;
    writer.fileHeader(FileKind::Backup);

    // The place to put the pedal back to is its own, read now.
    const std::optional<PedalPlace> place = process.slots().readPlace();
    if (!place) failure = "the Tovan did not answer";
    std::map<int32_t, int32_t> globals;
    if (failure.empty() && !process.values().readValueBlocks(false, globals))
        failure = "its global settings could not be read";
    if (failure.empty() && !process.setlists().read(true)) failure = "its setlists could not be read";
    if (failure.empty()) {
        writeGlobalChunk(writer, [&globals](int32_t index) { return globals.at(index); });
        std::vector<SetlistSlot> slots;
        for (const PedalSetlists::Record& record : process.setlists().records())
            for (int32_t k = 0; k < process.setlists().slotsPerSetlist(); ++k)
                slots.push_back({record.program(k), record.preset(k)});
        writeSetlistChunk(writer, process.setlists().count(), process.setlists().slotsPerSetlist(), slots);
    }

    state.bulkBusy = true;
    if (failure.empty() && !process.presets().setPedalMode(false))
        failure = "the Tovan did not take the mode switch";
    for (int32_t slot = 0; slot < kBackupPresets && failure.empty(); ++slot) {
        const std::string reason = readUserPresetChunk(slot, writer);
        if (!reason.empty()) {
            failure = "user preset " + userLabel(slot) + " could not be read: " + reason;
            break;
        }
        if (state.view != nullptr) {
            state.view->setProgress(slot + 1);
            state.view->invalidatePage();
        }
    }
    if (place) {
        result.place =
            presetLabel(place->preset) + " with its mode switch " + (place->modeSwitch ? "on" : "off");
        result.putBack = process.slots().putBack(*place);
    }
    state.bulkBusy = false;
    if (state.view != nullptr) state.view->showProgress(false);
    // The page shows the pedal as it is now, without waiting for the next poll.
    if (!exchange.pedalGone()) process.session().reload(false);
    if (failure.empty()) result.bytes = writer.bytes();
    return result;
}

FileOutcome BackupRestore::saveTo(const std::string& path) {
    const BackupRead backup = read();
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

bool BackupRestore::storeRestoredPreset(const PresetContents& preset, int32_t slot,
                                        std::map<int32_t, int32_t>& known) {
    bool written = true;
    for (const ParameterValue& v : preset.values)
        written = process.values().writeKnownValue(v.index, v.value, known) && written;
    // A preset with a value missing on the pedal would be stored wrong: the
    // slot keeps what it had.
    if (!written) return false;
    const PresetName name = preset.name.value_or(PresetName{});
    bool stored = false;
    for (int round = 0; round < 2 && !stored && !exchange.pedalGone(); ++round)
        stored = process.presets().store(name.shortName.c_str(), name.description.c_str(), slot);
    return stored && process.slots().confirmActive(kPresetsPerBank + slot, state.clock->milliseconds()) ==
                         PresetWait::Active;
}

std::vector<int32_t> BackupRestore::namesThatDiffer(const DecodedFile& file,
                                                    const std::vector<bool>& stored) {
    std::vector<int32_t> differ;
    for (size_t slot = 0; slot < file.presets.size() && !exchange.pedalGone(); ++slot) {
        if (!stored[slot]) continue;
        const PresetName expected = file.presets[slot].name.value_or(PresetName{});
        const auto code = proto::encodePresetCode(static_cast<unsigned>(kPresetsPerBank + slot));
        const auto name =
            exchange.requestPatiently(proto::kGroupPreset, proto::preset::kName, {code, 0, 0, 0});
        const auto first =
            exchange.requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 0, 0, 0});
        const auto second =
            exchange.requestPatiently(proto::kGroupPreset, proto::preset::kDescription, {code, 1, 0, 0});
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

bool BackupRestore::restore(const DecodedFile& file, std::string& pedalError) {
    if (state.view != nullptr) {
        state.view->showProgress(true);
        state.view->setProgress(0);
    }
    const std::optional<PedalPlace> place = process.slots().readPlace();
    if (!place) {
        if (state.view != nullptr) state.view->showProgress(false);
        pedalError = "\n\nThe Tovan did not answer; nothing was restored.";
        return true;
    }
    state.bulkBusy = true;
    ++restores;
    std::vector<std::string> problems;
    if (!process.presets().setPedalMode(false)) problems.push_back("the mode switch could not be set");

    std::map<int32_t, int32_t> known;
    if (file.globals) {
        bool written = true;
        for (const ParameterValue& v : *file.globals)
            written = process.values().writeKnownValue(v.index, v.value, known) && written;
        if (!written) problems.push_back("some global settings were not written");
    }
    if (file.setlists) {
        // Which slots the pedal has decides what is written: it must be known.
        const auto count = exchange.requestPatiently(proto::kGroupSetlist, proto::setlist::kCount);
        const auto slots = exchange.requestPatiently(proto::kGroupSetlist, proto::setlist::kSlotCount);
        if (count && slots) {
            process.setlists().setSize((*count)[0], (*slots)[0]);
        }
        bool written = count && slots;
        for (const SetlistEntry& entry : file.setlists->entries) {
            // Only slots this pedal has are written.
            if (entry.setlist >= process.setlists().count() ||
                entry.slot >= process.setlists().slotsPerSetlist())
                continue;
            proto::Payload data{};
            data[0] = entry.value;
            const uint16_t command = entry.field == SetlistField::Program ? proto::setlist::kSlotProgram
                                                                          : proto::setlist::kSlotPreset;
            written =
                exchange.writePatiently(
                    proto::kGroupSetlist, command,
                    {static_cast<uint8_t>(entry.setlist), static_cast<uint8_t>(entry.slot), 0, 0}, data) &&
                written;
        }
        if (!written) problems.push_back("some setlist slots were not written");
        process.setlists().read();
    }

    std::vector<bool> stored(file.presets.size(), false);
    std::vector<int32_t> failed;
    for (size_t slot = 0; slot < file.presets.size(); ++slot) {
        const PresetContents& preset = file.presets[slot];
        // A preset of a later version, or one that was not whole, leaves its
        // slot as it is; the file's own message says so.
        if (preset.usable) {
            stored[slot] =
                !exchange.pedalGone() && storeRestoredPreset(preset, static_cast<int32_t>(slot), known);
            if (!stored[slot]) {
                failed.push_back(static_cast<int32_t>(slot));
                // What the edit buffer holds is no longer known for sure.
                known.clear();
            }
        }
        if (state.view != nullptr) {
            state.view->setProgress(static_cast<int32_t>(slot) + 1);
            state.view->invalidatePage();
        }
    }
    const std::vector<int32_t> differ = namesThatDiffer(file, stored);

    if (!process.slots().putBack(*place))
        problems.push_back("the Tovan could not be put back on " + presetLabel(place->preset));
    state.bulkBusy = false;
    if (state.view != nullptr) state.view->showProgress(false);
    // The values written last were the last slot's: the page goes back to the
    // pedal's own preset now, and the next poll rebuilds the preset menus.
    if (!exchange.pedalGone()) process.session().reload(false);
    state.namesChanged = true;

    if (!failed.empty()) problems.push_back("user presets not restored: " + joinedLabels(failed));
    if (!differ.empty())
        problems.push_back("names that did not read back as restored: " + joinedLabels(differ));
    for (const std::string& problem : problems)
        pedalError +=
            "\n\n" + std::string(1, static_cast<char>(std::toupper(problem[0]))) + problem.substr(1) + ".";
    return file.complete && !file.flags.damaged;
}
