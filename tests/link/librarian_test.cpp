// The librarian against the simulated pedal: what each operation changes on
// the pedal and nothing else, library folders with files that are not presets,
// and a pedal that goes away in the middle.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "link/librarian.h"
#include "link/preset_file_format.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "pedal_test_support.h"
#include "platform/headless/scripted_dialogs.h"
#include "simulated_link_test.h"

namespace fs = std::filesystem;
using namespace tovan;
using namespace filetest;

namespace {

// A backup file cut into its parts: the header with the globals and setlists,
// then the 100 "pret" chunks of 16 + 424 bytes each.
struct BackupParts {
    std::vector<uint8_t> head;
    std::vector<std::vector<uint8_t>> presets;
};

BackupParts split(const std::vector<uint8_t>& backup) {
    constexpr size_t kPresetChunk = 16 + 424;
    if (backup.size() < 100 * kPresetChunk) throw std::runtime_error("not a whole backup");
    BackupParts parts;
    const size_t start = backup.size() - 100 * kPresetChunk;
    parts.head.assign(backup.begin(), backup.begin() + static_cast<std::ptrdiff_t>(start));
    for (size_t i = 0; i < 100; ++i) {
        const auto from = backup.begin() + static_cast<std::ptrdiff_t>(start + i * kPresetChunk);
        parts.presets.emplace_back(from, from + static_cast<std::ptrdiff_t>(kPresetChunk));
        if (std::string(parts.presets.back().begin(), parts.presets.back().begin() + 4) != "pret")
            throw std::runtime_error("preset chunk " + std::to_string(i) + " is not where it belongs");
    }
    return parts;
}

bool samePreset(const sim::StoredPreset& a, const sim::StoredPreset& b) {
    return a.name == b.name && a.description == b.description && a.values.common == b.values.common &&
           a.values.filter == b.values.filter && a.values.detail == b.values.detail;
}

// The page's progress panel as the librarian drives it.
class ProgressView : public pedaltest::RecordingView {
public:
    void showProgress(bool visible) override { shown.push_back(visible); }
    void setProgressCount(int32_t done, int32_t total) override { counts.push_back({done, total}); }
    std::vector<bool> shown;
    std::vector<std::pair<int32_t, int32_t>> counts;
};

class LibrarianTest : public SimulatedLinkTest<ProgressView> {
protected:
    LibrarianTest() : SimulatedLinkTest("tovan-library", true), librarian(process) {}
    std::vector<uint8_t> backup() {
        BackupRestore::BackupRead read = process.backup().read();
        if (!read.failure.empty()) throw std::runtime_error("backup failed: " + read.failure);
        return read.bytes;
    }
    std::vector<sim::StoredPreset> userPresets() {
        std::vector<sim::StoredPreset> presets;
        for (int slot = 0; slot < 100; ++slot)
            presets.push_back(pedal().userPreset(slot));
        return presets;
    }

    Librarian librarian;
};

} // namespace

TEST_F(LibrarianTest, ASwapAndACopyChangeOnlyTheirSlotsAndThePedalReturnsToItsEdit) {
    connect();
    // The pedal is on P12 with an edit that is not stored.
    process.presets().select(112);
    const DeviceField level = *deviceFieldOf(9);
    const int16_t stored = pedal().value(level.command, level.filter, level.item);
    const auto edited = static_cast<int16_t>(stored == 40 ? 41 : 40);
    const BackupParts before = split(backup());
    // (A backup leaves the edit buffer as stored: the edit is made after it.)
    process.values().sendParameter(9, edited);
    ASSERT_TRUE(pedal().edited());
    auto backOnItsEdit = [&] {
        EXPECT_EQ(pedal().activePreset(), 112u);
        EXPECT_TRUE(pedal().edited());
        EXPECT_EQ(pedal().value(level.command, level.filter, level.item), edited);
        EXPECT_FALSE(process.session().isBusy());
    };

    view.shown.clear();
    view.counts.clear();
    const Librarian::Outcome swapped = librarian.swap(3, 7);
    ASSERT_TRUE(swapped.ok) << swapped.failure;
    // Two slots read, two written, on the progress panel.
    ASSERT_EQ(view.shown.size(), 2u);
    EXPECT_TRUE(view.shown.front()) << "shown";
    EXPECT_FALSE(view.shown.back()) << "then hidden";
    EXPECT_EQ(view.counts.front(), (std::pair<int32_t, int32_t>{0, 4}));
    EXPECT_EQ(view.counts.back(), (std::pair<int32_t, int32_t>{4, 4}));
    EXPECT_TRUE(swapped.putBack);
    backOnItsEdit();
    const BackupParts afterSwap = split(backup());
    EXPECT_EQ(afterSwap.head, before.head);
    for (size_t slot = 0; slot < 100; ++slot) {
        const size_t expected = slot == 3 ? 7 : slot == 7 ? 3 : slot;
        EXPECT_EQ(afterSwap.presets[slot], before.presets[expected]) << "slot " << slot;
    }
    // What each slot held before, for an undo.
    ASSERT_EQ(swapped.written.size(), 2u);
    EXPECT_EQ(swapped.written[0].slot, 3);
    EXPECT_EQ(swapped.written[0].before.name, std::string(pedal().userPreset(7).name.data(), 3).c_str());

    process.values().sendParameter(9, edited);
    const Librarian::Outcome copied = librarian.copy(2, 9);
    ASSERT_TRUE(copied.ok) << copied.failure;
    backOnItsEdit();
    const BackupParts afterCopy = split(backup());
    for (size_t slot = 0; slot < 100; ++slot) {
        const size_t expected = slot == 9 ? 2 : slot;
        EXPECT_EQ(afterCopy.presets[slot], afterSwap.presets[expected]) << "slot " << slot;
    }
}

TEST_F(LibrarianTest, ALibraryFolderListsWhatItCanReadAndMarksTheRest) {
    connect();
    const Librarian::Outcome exported = librarian.exportSlot(4, folder);
    ASSERT_TRUE(exported.ok) << exported.failure;
    fs::rename(exported.files.at(0), folder / "b good.tovan");
    const std::vector<uint8_t> good = readBytes(folder / "b good.tovan");
    ASSERT_EQ(good.size(), 468u);
    writeBytes(folder / "a cut.tovan", {good.begin(), good.begin() + 200});
    std::vector<uint8_t> later = good;
    later[24] = 2; // format version 2
    writeBytes(folder / "c later.tovan", later);
    std::vector<uint8_t> laterChunk = good;
    laterChunk[28 + 12] = 2; // the "pret" chunk's version
    writeBytes(folder / "d later chunk.tovan", laterChunk);
    fs::create_directory(folder / "e folder.tovan");
    writeBytes(folder / "notes.txt", {1, 2, 3});

    const auto entries = Librarian::listFolder(folder);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].fileName, "a cut.tovan");
    EXPECT_EQ(entries[0].state, Librarian::EntryState::Damaged);
    EXPECT_EQ(entries[1].state, Librarian::EntryState::Preset);
    EXPECT_EQ(entries[1].name, "BRT");
    EXPECT_EQ(entries[1].description, "Bright lead cut");
    EXPECT_EQ(entries[2].state, Librarian::EntryState::Newer);
    EXPECT_EQ(entries[3].state, Librarian::EntryState::Newer);
    EXPECT_EQ(entries[4].state, Librarian::EntryState::NotAFile);

    // An import takes the one preset and names the others.
    const Librarian::Outcome imported = librarian.import(folder, 60);
    ASSERT_TRUE(imported.ok) << imported.failure;
    ASSERT_EQ(imported.written.size(), 1u);
    EXPECT_EQ(std::string(pedal().userPreset(60).description.data()), "Bright lead cut");
    EXPECT_EQ(imported.skipped.size(), 4u);
}

TEST_F(LibrarianTest, ExportAllNamesTheFilesByTheirSlots) {
    connect();
    process.presets().select(105);
    ASSERT_TRUE(process.presets().store("A/B", "x:y?z\tend", 5));
    const Librarian::Outcome exported = librarian.exportAll(folder / "all");
    ASSERT_TRUE(exported.ok) << exported.failure;
    EXPECT_EQ(exported.files.size(), 100u);
    EXPECT_TRUE(fs::is_regular_file(folder / "all" / "P05 A-B - x-y-z end.tovan"));
    EXPECT_TRUE(fs::is_regular_file(folder / "all" / "P00 CRY - Classic crybaby.tovan"));
    EXPECT_EQ(Librarian::exportFileName(42, "", ""), "P42.tovan");
}

TEST_F(LibrarianTest, APedalUnpluggedDuringAnImportLeavesTheSlotsNotYetWritten) {
    connect();
    for (int slot = 0; slot < 5; ++slot) {
        const Librarian::Outcome one = librarian.exportSlot(slot, folder / "five");
        ASSERT_TRUE(one.ok) << one.failure;
    }
    // A whole import of the five, to count its exchanges.
    const uint64_t start = pedal().counters().exchanges;
    ASSERT_TRUE(librarian.import(folder / "five", 30).ok);
    const uint64_t whole = pedal().counters().exchanges - start;

    const std::vector<sim::StoredPreset> before = userPresets();
    sim::Faults faults;
    faults.unplugAfter = static_cast<int64_t>(pedal().counters().exchanges + whole / 2);
    pedal().setFaults(faults);
    const Librarian::Outcome outcome = librarian.import(folder / "five", 20);
    EXPECT_FALSE(outcome.ok);
    ASSERT_GE(outcome.failedSlot, 20);
    ASSERT_LE(outcome.failedSlot, 24);
    EXPECT_EQ(outcome.written.size(), static_cast<size_t>(outcome.failedSlot - 20));
    EXPECT_NE(outcome.failure.find(presetLabel(100 + outcome.failedSlot) + " could not be written"),
              std::string::npos)
        << outcome.failure;
    EXPECT_NE(outcome.failure.find("disconnected"), std::string::npos) << outcome.failure;
    const std::vector<sim::StoredPreset> after = userPresets();
    for (int slot = 0; slot < 100; ++slot) {
        if (slot >= 20 && slot < outcome.failedSlot) {
            EXPECT_TRUE(samePreset(after[slot], before[slot - 20])) << "slot " << slot << " written";
        } else if (slot != outcome.failedSlot) {
            EXPECT_TRUE(samePreset(after[slot], before[slot])) << "slot " << slot << " untouched";
        }
    }
    EXPECT_FALSE(process.session().isBusy());
}

TEST(LibrarianMoves, SlotsMovedTogetherLetTheDisplacedFillTheirPlaces) {
    // One slot down: the two swap.
    EXPECT_EQ(Librarian::moveMap({3}, 7), (std::map<int32_t, int32_t>{{3, 7}, {7, 3}}));
    // P02 and P05 to P10: P10 and P11 take their places.
    EXPECT_EQ(Librarian::moveMap({5, 2}, 10),
              (std::map<int32_t, int32_t>{{2, 10}, {5, 11}, {10, 2}, {11, 5}}));
    // Overlapping: P04-P06 one down; P07 goes to the top.
    EXPECT_EQ(Librarian::moveMap({4, 5, 6}, 5), (std::map<int32_t, int32_t>{{4, 7}, {5, 4}, {6, 5}, {7, 6}}));
    EXPECT_TRUE(Librarian::moveMap({1, 2}, 99).empty()) << "past P99";
    EXPECT_TRUE(Librarian::moveMap({4}, 4).empty());
}
