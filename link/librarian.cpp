#include "link/librarian.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "link/file_reading.h"
#include "link/preset_file_codec.h"
#include "model/pedal_values.h"
#include "platform/atomic_file.h"

namespace fs = std::filesystem;
using namespace tovan;

namespace {

std::string userLabel(int32_t slot) {
    return presetLabel(kPresetsPerBank + slot);
}

// "P03" or "P03-P07" for consecutive slots.
std::string slotRange(int32_t first, int32_t last) {
    return first == last ? userLabel(first) : userLabel(first) + "-" + userLabel(last);
}

// Control and high bytes as spaces, what file systems refuse as '-', no
// spaces at the ends.
std::string cleanedForFileName(const std::string& text) {
    std::string out;
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte == 0) break;
        if (byte < 32 || byte >= 128)
            out += ' ';
        else if (std::string_view("*/:<>?\\|\"").find(ch) != std::string_view::npos)
            out += '-';
        else
            out += ch;
    }
    const size_t start = out.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    return out.substr(start, out.find_last_not_of(' ') - start + 1);
}

} // namespace

std::string Librarian::exportFileName(int32_t slot, const std::string& name, const std::string& description) {
    std::string file = userLabel(slot);
    const std::string cleanName = cleanedForFileName(name.substr(0, 3));
    const std::string cleanDescription = cleanedForFileName(description.substr(0, 20));
    if (!cleanName.empty()) file += " " + cleanName;
    if (!cleanDescription.empty()) file += " - " + cleanDescription;
    return file + "." + std::string(presetfile::kPresetExtension);
}

std::vector<uint8_t> Librarian::presetFileBytes(const Contents& contents) {
    presetfile::Writer writer;
    writer.fileHeader(presetfile::FileKind::Preset);
    presetfile::writePresetChunk(writer, {contents.name, contents.description}, [&contents](int32_t index) {
        const auto found = contents.values.find(index);
        return found != contents.values.end() ? found->second : 0;
    });
    return writer.bytes();
}

bool Librarian::sameContents(const Contents& written, const Contents& read, std::string& difference) {
    if (read.name != written.name.substr(0, 3)) {
        difference = "its name read back as '" + read.name + "', not '" + written.name.substr(0, 3) + "'";
        return false;
    }
    if (read.description != written.description.substr(0, 20)) {
        difference = "its description read back as '" + read.description + "'";
        return false;
    }
    for (const auto& [index, value] : written.values) {
        const auto found = read.values.find(index);
        if (found == read.values.end() || found->second != value) {
            difference =
                "parameter " + std::to_string(index) + " read back as " +
                (found == read.values.end() ? std::string("nothing") : std::to_string(found->second)) +
                ", not " + std::to_string(value);
            return false;
        }
    }
    return true;
}

std::string Librarian::stateText(EntryState state) {
    switch (state) {
    case EntryState::Preset:
        return "preset";
    case EntryState::Damaged:
        return "damaged: not a whole preset file";
    case EntryState::Newer:
        return "made by a later version of the Tovan software";
    case EntryState::Foreign:
        return "not a Tovan preset file";
    case EntryState::NotAFile:
        return "a folder or device, not a file";
    }
    return {};
}

std::vector<Librarian::LibraryEntry> Librarian::listFolder(const fs::path& folder) {
    std::vector<LibraryEntry> entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::path& path = it->path();
        if (path.extension() != "." + std::string(presetfile::kPresetExtension)) continue;
        LibraryEntry entry;
        entry.path = path;
        entry.fileName = path.filename().string();
        const presetfile::FileBytes read = presetfile::readFileBytes(path.string());
        if (read.problem == presetfile::ReadProblem::NotAFile) {
            entry.state = EntryState::NotAFile;
        } else if (read.problem != presetfile::ReadProblem::None) {
            entry.state = EntryState::Damaged;
        } else {
            const presetfile::DecodedFile file = presetfile::decodeFile(read.bytes);
            if (file.status == presetfile::FileStatus::NewerFormat || file.flags.newer)
                entry.state = EntryState::Newer;
            else if (file.status == presetfile::FileStatus::Foreign ||
                     (file.status == presetfile::FileStatus::Readable &&
                      file.kind != presetfile::FileKind::Preset))
                entry.state = EntryState::Foreign;
            else if (file.status != presetfile::FileStatus::Readable || file.flags.damaged ||
                     !file.complete || file.presets.size() != 1 || !file.presets[0].usable ||
                     !file.presets[0].name)
                entry.state = EntryState::Damaged;
            else {
                entry.state = EntryState::Preset;
                const presetfile::PresetContents& preset = file.presets[0];
                entry.name = preset.name->shortName.substr(0, 3);
                entry.description = preset.name->description.substr(0, 20);
                entry.contents.name = entry.name;
                entry.contents.description = entry.description;
                for (const presetfile::ParameterValue& v : preset.values)
                    entry.contents.values[v.index] = v.value;
            }
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const LibraryEntry& a, const LibraryEntry& b) { return a.fileName < b.fileName; });
    return entries;
}

std::vector<Librarian::Planned> Librarian::importPlan(const std::vector<LibraryEntry>& entries,
                                                      int32_t first) {
    std::vector<Planned> plan;
    for (const LibraryEntry& entry : entries)
        if (entry.state == EntryState::Preset)
            plan.push_back({first + static_cast<int32_t>(plan.size()), entry.contents});
    return plan;
}

bool Librarian::pedalGone() const {
    return !process.session().isConnected() ||
           process.session().currentPedal().lastStatus() == HidStatus::disconnected;
}

void Librarian::step() {
    ++progressDone;
    if (progressTotal < 2 || process.view() == nullptr) return;
    process.view()->setProgressCount(std::min(progressDone, progressTotal), progressTotal);
    process.view()->invalidatePage();
}

std::optional<Librarian::Place> Librarian::begin(Outcome& outcome, int32_t total) {
    if (!process.session().isConnected()) {
        outcome.failure = "no Tovan is connected";
        return std::nullopt;
    }
    const std::optional<int32_t> preset = process.presets().queryActive();
    std::optional<std::map<int32_t, int32_t>> edit;
    if (preset) edit = process.slots().readEditBuffer();
    if (!preset || !edit) {
        outcome.failure = pedalGone() ? "the Tovan was disconnected" : "the Tovan did not answer";
        return std::nullopt;
    }
    outcome.place = presetLabel(*preset);
    process.session().setBusy(true);
    progressTotal = total;
    progressDone = 0;
    if (total >= 2 && process.view() != nullptr) {
        process.view()->showProgress(true);
        process.view()->setProgressCount(0, total);
    }
    return Place{*preset, std::move(*edit)};
}

void Librarian::finish(Outcome& outcome, const std::optional<Place>& place) {
    if (!place) return;
    outcome.putBack = !pedalGone() && process.slots().returnToEdit(place->preset, place->edit);
    process.session().setBusy(false);
    process.presets().markNamesChanged();
    if (progressTotal >= 2 && process.view() != nullptr) process.view()->showProgress(false);
    progressTotal = 0;
}

std::string Librarian::readSlot(int32_t slot, Contents& contents, std::map<int32_t, int32_t>& editBuffer) {
    std::optional<Contents> read = process.slots().readUserSlot(slot);
    if (!read) {
        // The edit buffer may hold the slot's values or not: it is read again.
        editBuffer.clear();
        return pedalGone() ? "the Tovan was disconnected" : "the Tovan did not answer";
    }
    contents = std::move(*read);
    editBuffer = contents.values;
    return {};
}

std::string Librarian::writeAndCheck(int32_t slot, const Contents& contents,
                                     std::map<int32_t, int32_t>& editBuffer) {
    if (pedalGone()) return "the Tovan was disconnected";
    if (!process.slots().writeUserSlot(slot, contents, editBuffer)) {
        editBuffer.clear();
        return pedalGone() ? "the Tovan was disconnected" : "the Tovan did not take the preset";
    }
    Contents read;
    const std::string reason = readSlot(slot, read, editBuffer);
    if (!reason.empty()) return reason + " when it was read back";
    std::string difference;
    if (!sameContents(contents, read, difference)) return "it did not read back as written: " + difference;
    return {};
}

bool Librarian::writeAll(Outcome& outcome, const std::vector<Planned>& plan,
                         const std::vector<Contents>& before, bool keepBefore,
                         std::map<int32_t, int32_t>& editBuffer) {
    for (size_t i = 0; i < plan.size(); ++i) {
        const Planned& planned = plan[i];
        Written written{planned.slot, {}, planned.contents};
        std::string reason;
        if (i < before.size())
            written.before = before[i];
        else if (keepBefore && !(reason = readSlot(planned.slot, written.before, editBuffer)).empty())
            reason += " when it was read first";
        else if (keepBefore)
            step();
        if (reason.empty()) reason = writeAndCheck(planned.slot, planned.contents, editBuffer);
        if (!reason.empty()) {
            outcome.failedSlot = planned.slot;
            outcome.failure = userLabel(planned.slot) + " could not be written: " + reason + ".";
            if (i + 1 < plan.size()) {
                outcome.failure += " The slots after it were not written and hold what they held:";
                for (size_t k = i + 1; k < plan.size(); ++k)
                    outcome.failure += (k == i + 1 ? " " : ", ") + userLabel(plan[k].slot);
                outcome.failure += ".";
            }
            return false;
        }
        outcome.written.push_back(std::move(written));
        step();
    }
    return true;
}

Librarian::Outcome Librarian::write(const std::vector<Planned>& plan, bool keepBefore) {
    Outcome outcome;
    for (const Planned& planned : plan)
        if (planned.slot < 0 || planned.slot >= kPresetsPerBank) {
            outcome.failure = "there is no user slot " + std::to_string(planned.slot);
            return outcome;
        }
    // Each slot is one step, or two when it is read first.
    const std::optional<Place> place =
        begin(outcome, static_cast<int32_t>(plan.size()) * (keepBefore ? 2 : 1));
    if (!place) return outcome;
    std::map<int32_t, int32_t> editBuffer = place->edit;
    outcome.ok = writeAll(outcome, plan, {}, keepBefore, editBuffer);
    finish(outcome, place);
    return outcome;
}

Librarian::Outcome Librarian::copy(int32_t source, int32_t target) {
    return arrange({{target, source}});
}

Librarian::Outcome Librarian::swap(int32_t first, int32_t second) {
    return arrange({{first, second}, {second, first}});
}

std::map<int32_t, int32_t> Librarian::moveMap(const std::vector<int32_t>& slots, int32_t target) {
    std::vector<int32_t> sources = slots;
    std::sort(sources.begin(), sources.end());
    sources.erase(std::unique(sources.begin(), sources.end()), sources.end());
    std::map<int32_t, int32_t> moves;
    const auto count = static_cast<int32_t>(sources.size());
    if (count == 0 || target < 0 || target + count > kPresetsPerBank) return moves;
    std::vector<int32_t> targets;
    for (int32_t i = 0; i < count; ++i) {
        targets.push_back(target + i);
        moves[target + i] = sources[static_cast<size_t>(i)];
    }
    // The presets the moved ones displace fill the slots they left, in order.
    std::vector<int32_t> displaced;
    std::vector<int32_t> vacated;
    for (int32_t slot : targets)
        if (!std::binary_search(sources.begin(), sources.end(), slot)) displaced.push_back(slot);
    for (int32_t slot : sources)
        if (slot < target || slot >= target + count) vacated.push_back(slot);
    for (size_t i = 0; i < displaced.size() && i < vacated.size(); ++i)
        moves[vacated[i]] = displaced[i];
    for (auto it = moves.begin(); it != moves.end();)
        it = it->first == it->second ? moves.erase(it) : std::next(it);
    return moves;
}

Librarian::Outcome Librarian::arrange(const std::map<int32_t, int32_t>& moves) {
    Outcome outcome;
    for (const auto& [target, source] : moves)
        if (source < 0 || source >= kPresetsPerBank || target < 0 || target >= kPresetsPerBank) {
            outcome.failure = "slots are P00-P99";
            return outcome;
        }
    std::vector<std::pair<int32_t, int32_t>> changes;
    for (const auto& [target, source] : moves)
        if (target != source) changes.push_back({target, source});
    if (changes.empty()) {
        outcome.ok = true;
        return outcome;
    }
    std::set<int32_t> involved;
    for (const auto& [target, source] : changes)
        involved.insert({target, source});
    // Each slot read and each slot written is a step.
    const std::optional<Place> place = begin(outcome, static_cast<int32_t>(involved.size() + changes.size()));
    if (!place) return outcome;
    std::map<int32_t, int32_t> editBuffer = place->edit;
    // Every slot involved is read before anything is written.
    std::map<int32_t, Contents> held;
    for (const auto& [target, source] : changes)
        for (int32_t slot : {target, source}) {
            if (held.count(slot)) continue;
            if (const std::string reason = readSlot(slot, held[slot], editBuffer); !reason.empty()) {
                outcome.failedSlot = slot;
                outcome.failure =
                    userLabel(slot) + " could not be read: " + reason + ". Nothing was written.";
                finish(outcome, place);
                return outcome;
            }
            step();
        }
    std::vector<Planned> plan;
    std::vector<Contents> before;
    for (const auto& [target, source] : changes) {
        plan.push_back({target, held[source]});
        before.push_back(held[target]);
    }
    outcome.ok = writeAll(outcome, plan, before, false, editBuffer);
    if (!outcome.ok && !outcome.written.empty()) {
        // A preset that was written over may now be held only here: what was
        // written goes back, so that none is lost.
        std::vector<Written> undone;
        bool allBack = true;
        for (auto it = outcome.written.rbegin(); it != outcome.written.rend(); ++it) {
            if (writeAndCheck(it->slot, it->before, editBuffer).empty()) continue;
            allBack = false;
            undone.push_back(*it);
        }
        if (allBack) {
            outcome.failure += " The slots written before it were put back as they were.";
        } else {
            outcome.failure += " These slots could not be put back:";
            for (const Written& written : undone)
                outcome.failure += " " + userLabel(written.slot) + " (it held " + written.before.name + " " +
                                   written.before.description + ")";
            outcome.failure += ".";
        }
        outcome.written = std::move(undone);
    }
    finish(outcome, place);
    return outcome;
}

Librarian::Outcome Librarian::exportSlot(int32_t slot, const fs::path& folder) {
    Outcome outcome;
    if (slot < 0 || slot >= kPresetsPerBank) {
        outcome.failure = "slots are P00-P99";
        return outcome;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    const std::optional<Place> place = begin(outcome, 1);
    if (!place) return outcome;
    std::map<int32_t, int32_t> editBuffer = place->edit;
    Contents contents;
    if (const std::string reason = readSlot(slot, contents, editBuffer); !reason.empty()) {
        outcome.failedSlot = slot;
        outcome.failure = userLabel(slot) + " could not be read: " + reason + ".";
    } else {
        const fs::path path = folder / exportFileName(slot, contents.name, contents.description);
        if (writeFileAtomically(path.string(), presetFileBytes(contents))) {
            outcome.files.push_back(path);
            outcome.ok = true;
        } else {
            outcome.failedSlot = slot;
            outcome.failure = path.string() + " could not be written. Check the folder and the free space.";
        }
    }
    finish(outcome, place);
    return outcome;
}

Librarian::Outcome Librarian::exportAll(const fs::path& folder) {
    Outcome outcome;
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) {
        outcome.failure = folder.string() + " is not a folder that can be written";
        return outcome;
    }
    const std::optional<Place> place = begin(outcome, kPresetsPerBank);
    if (!place) return outcome;
    std::map<int32_t, int32_t> editBuffer = place->edit;
    outcome.ok = true;
    for (int32_t slot = 0; slot < kPresetsPerBank; ++slot) {
        Contents contents;
        if (const std::string reason = readSlot(slot, contents, editBuffer); !reason.empty()) {
            outcome.failedSlot = slot;
            outcome.failure = userLabel(slot) + " could not be read: " + reason + ".";
            outcome.ok = false;
            break;
        }
        const fs::path path = folder / exportFileName(slot, contents.name, contents.description);
        if (!writeFileAtomically(path.string(), presetFileBytes(contents))) {
            outcome.failedSlot = slot;
            outcome.failure = path.string() + " could not be written. Check the folder and the free space.";
            outcome.ok = false;
            break;
        }
        outcome.files.push_back(path);
        step();
    }
    if (!outcome.ok && !outcome.files.empty())
        outcome.failure += " The files of " + slotRange(0, static_cast<int32_t>(outcome.files.size()) - 1) +
                           " were written.";
    finish(outcome, place);
    return outcome;
}

Librarian::Outcome Librarian::import(const fs::path& folder, int32_t first, bool keepBefore) {
    Outcome outcome;
    if (first < 0 || first >= kPresetsPerBank) {
        outcome.failure = "slots are P00-P99";
        return outcome;
    }
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        outcome.failure = folder.string() + " is not a folder";
        return outcome;
    }
    const std::vector<LibraryEntry> entries = listFolder(folder);
    for (const LibraryEntry& entry : entries)
        if (entry.state != EntryState::Preset)
            outcome.skipped.push_back(entry.fileName + ": " + stateText(entry.state));
    const std::vector<Planned> plan = importPlan(entries, first);
    if (plan.empty()) {
        outcome.failure = "there are no preset files to import in " + folder.string();
        return outcome;
    }
    if (first + static_cast<int32_t>(plan.size()) > kPresetsPerBank) {
        outcome.failure = std::to_string(plan.size()) + " preset files do not fit into " +
                          slotRange(first, kPresetsPerBank - 1) + "; nothing was written";
        return outcome;
    }
    Outcome written = write(plan, keepBefore);
    written.skipped = std::move(outcome.skipped);
    return written;
}
