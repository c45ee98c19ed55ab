#include "editor/edit_history.h"

#include <algorithm>

#include "model/pedal_parameters.h"

std::optional<EditHistory::Book> EditHistory::bookOf(int32_t tag) {
    // The edit buffer: the preset-wide values and both filters.
    if (tag >= kFirstDeviceParameter && tag <= kLastPresetParameter) return Book::Preset;
    // The pedal's globals, then the setlist slots' presets and programs (the
    // setlist name is text, and the slot buttons only select presets).
    const int32_t lastSlotProgram = ptag::slotProgram(ptag::kSetlistPageSlots - 1);
    if ((tag >= kFirstGlobalParameter && tag <= kLastGlobalParameter) ||
        (tag >= ptag::kFirstSlotPreset && tag <= lastSlotProgram))
        return Book::Global;
    return std::nullopt;
}

EditHistory::EditHistory(Target& historyTarget) : target(historyTarget) {}

void EditHistory::beginGesture() {
    ++gestureDepth;
}

void EditHistory::endGesture() {
    if (gestureDepth > 0 && --gestureDepth == 0) closeAll();
}

void EditHistory::endAction() {
    // What one poll read from the pedal is one step.
    pedalStepOpen.fill(false);
    if (gestureDepth == 0) closeAll();
}

void EditHistory::closeAll() {
    for (Pages& pages : books) {
        if (!pages.open) continue;
        pages.open = false;
        // A drag that came back where it started changed nothing.
        Step& last = pages.steps.back();
        std::erase_if(last.changes, [](const Change& c) { return c.before == c.after; });
        if (last.command != 0 && last.commandBefore == last.commandAfter) last.command = 0;
        if (last.changes.empty() && last.command == 0) {
            pages.steps.pop_back();
            pages.cursor = pages.steps.size();
        }
    }
}

EditHistory::Step& EditHistory::openStep(Book book, Origin origin) {
    Pages& pages = books[index(book)];
    if (pages.open && origin == Origin::Player) return pages.steps.back();
    if (pages.open) closeAll();
    // A new step: what was undone cannot be done again.
    pages.steps.resize(pages.cursor);
    Step step;
    step.origin = origin;
    pages.steps.push_back(std::move(step));
    pages.cursor = pages.steps.size();
    pages.open = origin == Origin::Player;
    return pages.steps.back();
}

void EditHistory::record(Book book, Origin origin, int32_t tag, int32_t before, int32_t after) {
    if (before == after) return;
    Step& step = openStep(book, origin);
    auto same = std::find_if(step.changes.begin(), step.changes.end(),
                             [tag](const Change& c) { return c.tag == tag; });
    if (same != step.changes.end())
        same->after = after;
    else
        step.changes.push_back({tag, before, after});
}

void EditHistory::playerChanged(int32_t tag, int32_t value) {
    const std::optional<Book> book = bookOf(tag);
    if (!book) return;
    const std::optional<int32_t> before = known(tag);
    values[tag] = value;
    if (applying() || !before) return;
    record(*book, Origin::Player, tag, *before, value);
}

void EditHistory::pedalChanged(int32_t tag, int32_t value) {
    const std::optional<Book> book = bookOf(tag);
    if (!book) return;
    const std::optional<int32_t> before = known(tag);
    values[tag] = value;
    if (applying() || !before || *before == value) return;
    // A step of its own, closed at once: the player's next change is another.
    Pages& pages = books[index(*book)];
    const bool continuesPedal = !pages.open && pages.cursor == pages.steps.size() && !pages.steps.empty() &&
                                pages.steps.back().origin == Origin::Pedal && pedalStepOpen[index(*book)];
    if (continuesPedal) {
        Step& step = pages.steps.back();
        auto same = std::find_if(step.changes.begin(), step.changes.end(),
                                 [tag](const Change& c) { return c.tag == tag; });
        if (same != step.changes.end())
            same->after = value;
        else
            step.changes.push_back({tag, *before, value});
        return;
    }
    record(*book, Origin::Pedal, tag, *before, value);
    pedalStepOpen[index(*book)] = true;
}

void EditHistory::valueShown(int32_t tag, int32_t value) {
    if (bookOf(tag)) values[tag] = value;
}

void EditHistory::commandRun(int32_t tag, int32_t before, int32_t after) {
    if (applying() || before == after) return;
    Step& step = openStep(Book::Preset, Origin::Player);
    if (step.command == 0) step.commandBefore = before;
    step.command = tag;
    step.commandAfter = after;
}

void EditHistory::stepDone(Book book, std::vector<Change> changes) {
    std::erase_if(changes, [](const Change& c) { return c.before == c.after; });
    if (changes.empty()) return;
    closeAll();
    Step& step = openStep(book, Origin::Player);
    step.changes = std::move(changes);
    closeAll();
}

void EditHistory::slotStepDone(std::shared_ptr<const SlotRecord> slotRecord) {
    closeAll();
    Pages& pages = books[index(Book::Preset)];
    pages.steps.resize(pages.cursor);
    Step step;
    step.origin = Origin::Slot;
    step.slot = std::move(slotRecord);
    pages.steps.push_back(std::move(step));
    pages.cursor = pages.steps.size();
}

std::optional<int32_t> EditHistory::known(int32_t tag) const {
    const auto found = values.find(tag);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

void EditHistory::setKnown(int32_t tag, int32_t value) {
    if (bookOf(tag)) values[tag] = value;
}

void EditHistory::resetPreset(bool edited) {
    books[index(Book::Preset)] = {};
    presetBaselineEdited = edited;
    pedalStepOpen[index(Book::Preset)] = false;
}

void EditHistory::resetGlobal() {
    books[index(Book::Global)] = {};
    pedalStepOpen[index(Book::Global)] = false;
}

void EditHistory::baselineEdited(bool edited) {
    if (books[index(Book::Preset)].steps.empty()) presetBaselineEdited = edited;
}

bool EditHistory::canUndo(Book book) const {
    return !applying() && books[index(book)].cursor > 0;
}

bool EditHistory::canRedo(Book book) const {
    const Pages& pages = books[index(book)];
    return !applying() && pages.cursor < pages.steps.size();
}

const EditHistory::Step* EditHistory::nextUndo(Book book) const {
    const Pages& pages = books[index(book)];
    return pages.cursor > 0 ? &pages.steps[pages.cursor - 1] : nullptr;
}

const EditHistory::Step* EditHistory::nextRedo(Book book) const {
    const Pages& pages = books[index(book)];
    return pages.cursor < pages.steps.size() ? &pages.steps[pages.cursor] : nullptr;
}

std::vector<std::pair<int32_t, int32_t>> EditHistory::writeOrder(const Step& step, bool toAfter) {
    std::vector<Change> ordered = step.changes;
    if (!toAfter) std::reverse(ordered.begin(), ordered.end());
    std::vector<std::pair<int32_t, int32_t>> writes;
    auto writesGoing = [&](bool down) {
        for (const Change& c : ordered) {
            const int32_t from = toAfter ? c.before : c.after;
            const int32_t to = toAfter ? c.after : c.before;
            if (from != to && (to < from) == down) writes.emplace_back(c.tag, to);
        }
    };
    writesGoing(true); // the values that go down first, then those that go up
    writesGoing(false);
    return writes;
}

void EditHistory::apply(const Step& step, bool toAfter) {
    if (step.command != 0) {
        // The command's exchange is its own inverse.
        target.runCommand(step.command, toAfter ? step.commandAfter : step.commandBefore);
        return;
    }
    for (const auto& [tag, value] : writeOrder(step, toAfter))
        target.writeValue(tag, value);
}

bool EditHistory::undo(Book book) {
    closeAll();
    if (!canUndo(book)) return false;
    Pages& pages = books[index(book)];
    pedalStepOpen[index(book)] = false;
    const Step step = pages.steps[pages.cursor - 1];
    {
        const Suspend suspend(*this);
        if (step.slot) {
            if (!target.undoSlot(*step.slot)) return false;
        } else {
            apply(step, false);
        }
    }
    pages.cursor -= 1;
    if (book == Book::Preset && pages.cursor == 0 && !presetBaselineEdited) {
        const Suspend suspend(*this);
        target.discardEdits();
    }
    return true;
}

bool EditHistory::redo(Book book) {
    closeAll();
    if (!canRedo(book)) return false;
    Pages& pages = books[index(book)];
    pedalStepOpen[index(book)] = false;
    const Step step = pages.steps[pages.cursor];
    {
        const Suspend suspend(*this);
        if (step.slot) {
            if (!target.redoSlot(*step.slot)) return false;
        } else {
            apply(step, true);
        }
    }
    pages.cursor += 1;
    return true;
}
