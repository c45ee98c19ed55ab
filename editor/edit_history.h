#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The player's steps, to be taken back and done again. Two books: the preset's
// (the edit buffer, tags 9-91), which ends when another preset is chosen, and
// the pedal's globals (the setlist, MIDI and settings tabs), which lasts the
// session. The history is fed with the changes and commands the editor routes;
// it knows no control, and acts through its target, which writes a value the
// way an edit writes it.
class EditHistory {
public:
    enum class Book : uint8_t { Preset, Global };
    static constexpr size_t kBooks = 2;

    struct Change {
        int32_t tag;
        int32_t before;
        int32_t after;
    };

    // A store into a user slot or a delete of one: what the slot held before,
    // and where the pedal was. The target carries it out both ways.
    struct SlotRecord {
        bool store = true;
        int32_t slot = 0;
        // What the slot holds after a store (the name and description given).
        std::string name;
        std::string description;
        // What it held before.
        std::string previousName;
        std::string previousDescription;
        std::map<int32_t, int32_t> previousValues;
        // The preset the pedal was on and its edit buffer.
        int32_t preset = 0;
        std::map<int32_t, int32_t> edit;
        // An arrangement of several slots (the library's): every slot written,
        // as it was and as it became. Undo writes `before` back, redo `after`.
        struct SlotState {
            int32_t slot = 0;
            std::string name;
            std::string description;
            std::map<int32_t, int32_t> values;
        };
        std::vector<SlotState> before;
        std::vector<SlotState> after;
        // How the history names it ("SWAP P03 P07").
        std::string what;
    };

    enum class Origin : uint8_t { Player, Pedal, Slot };
    struct Step {
        Origin origin = Origin::Player;
        std::vector<Change> changes;
        // An orientation change: its own exchange takes it back, so undo and
        // redo run the command again with the old or new value.
        int32_t command = 0;
        int32_t commandBefore = 0;
        int32_t commandAfter = 0;
        std::shared_ptr<const SlotRecord> slot;
    };

    class Target {
    public:
        virtual ~Target() = default;
        // Writes one value as the player's edit would write it.
        virtual void writeValue(int32_t tag, int32_t value) = 0;
        // Runs a command as the player's button would.
        virtual void runCommand(int32_t tag, int32_t value) = 0;
        // Sends the discard command: the pedal's edit buffer returns to the stored preset.
        virtual void discardEdits() = 0;
        // Puts a slot back as it was (undo) or does the store or delete again
        // (redo); false when the pedal did not take it.
        virtual bool undoSlot(const SlotRecord& record) = 0;
        virtual bool redoSlot(const SlotRecord& record) = 0;
    };

    // The book a tag's changes go to; nothing for tags that are not kept.
    static std::optional<Book> bookOf(int32_t tag);

    explicit EditHistory(Target& target);

    // A press to its release: everything the player changes meanwhile is one step.
    void beginGesture();
    void endGesture();
    // An action of the player ended (an event handled): the open step closes,
    // unless a gesture holds it.
    void endAction();

    // A value the player changed (before: what the pedal had).
    void playerChanged(int32_t tag, int32_t value);
    // A value changed on the pedal itself: a step of its own.
    void pedalChanged(int32_t tag, int32_t value);
    // A value read from the pedal that is no step (a reload): only remembered.
    void valueShown(int32_t tag, int32_t value);
    // An orientation command of the player.
    void commandRun(int32_t tag, int32_t before, int32_t after);
    // A step the editor worked out itself (a revert: what it changed).
    void stepDone(Book book, std::vector<Change> changes);
    // A store or delete carried out, as a step of the preset's book.
    void slotStepDone(std::shared_ptr<const SlotRecord> record);

    // The values as the history knows them (the pedal's), for tags with a book.
    std::optional<int32_t> known(int32_t tag) const;
    void setKnown(int32_t tag, int32_t value);
    // Another preset: its book starts again. edited says whether the preset's
    // edit buffer already differed from the stored one (then undoing every
    // step sends no discard).
    void resetPreset(bool edited);
    void resetGlobal();
    // While the preset's book holds no step, the pedal's edited flag is the baseline's.
    void baselineEdited(bool edited);

    bool canUndo(Book book) const;
    bool canRedo(Book book) const;
    const Step* nextUndo(Book book) const;
    const Step* nextRedo(Book book) const;
    size_t steps(Book book) const { return books[index(book)].steps.size(); }
    size_t position(Book book) const { return books[index(book)].cursor; }
    bool undo(Book book);
    bool redo(Book book);
    // True while undo or redo writes: what they cause is not a new step.
    bool applying() const { return applyDepth > 0; }
    // Held while the editor writes on its own (compare, slot steps): changes
    // are remembered, not recorded.
    class Suspend {
    public:
        explicit Suspend(EditHistory& history) : history(history) { ++history.applyDepth; }
        ~Suspend() { --history.applyDepth; }
        Suspend(const Suspend&) = delete;
        Suspend& operator=(const Suspend&) = delete;

    private:
        EditHistory& history;
    };

    // The order in which a step's changes are written to reach `toAfter`
    // (redo) or `!toAfter` (undo): values that go down first, so that no rule
    // that bounds a sum (the trapezoid's rise and fall) moves a partner on the way.
    static std::vector<std::pair<int32_t, int32_t>> writeOrder(const Step& step, bool toAfter);

private:
    struct Pages {
        std::vector<Step> steps;
        size_t cursor = 0;
        bool open = false;
    };
    static size_t index(Book book) { return static_cast<size_t>(book); }
    Step& openStep(Book book, Origin origin);
    void record(Book book, Origin origin, int32_t tag, int32_t before, int32_t after);
    void closeAll();
    void apply(const Step& step, bool toAfter);

    Target& target;
    std::array<Pages, kBooks> books;
    std::map<int32_t, int32_t> values;
    // A pedal step that further values of the same read join.
    std::array<bool, kBooks> pedalStepOpen{};
    int gestureDepth = 0;
    int applyDepth = 0;
    bool presetBaselineEdited = false;
};
