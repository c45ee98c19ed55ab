#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "editor/pedal_questions.h"
#include "link/preset_file_codec.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "pedal_test_support.h"
#include "platform/headless/scripted_dialogs.h"
#include "simulated_link_test.h"

namespace fs = std::filesystem;
using namespace tovan;
using namespace filetest;
using namespace presetfile;

namespace {

class Files : public SimulatedLinkTest<pedaltest::RecordingView> {
protected:
    Files() : SimulatedLinkTest("tovan-files", false) {}
    // The pedal's edit buffer in editor units, for every preset parameter.
    std::map<int32_t, int32_t> pedalValues() {
        std::map<int32_t, int32_t> values;
        for (const DeviceField& row : kDeviceMap)
            if (row.index <= 91)
                values[row.index] =
                    deviceToEditorValue(row.index, pedal().value(row.command, row.filter, row.item));
        return values;
    }
    std::vector<std::string> errors() {
        std::vector<std::string> texts;
        for (const auto& shown : dialogs.shown)
            if (shown.style == MessageStyle::Error) texts.push_back(shown.text);
        return texts;
    }
};

const char* kNotValid = "The file is not valid or it may be corrupt. It could not be processed.";
const char* kNewer =
    "This file requires a newer version of this application. It could not be processed completely.";
const char* kPedalError =
    "An error occured on the Tovan during loading, so the operation may not be complete.";

} // namespace

// A preset file written out byte by byte from the file layout, for the pedal's
// edit buffer: values in editor units (the tapers with their offset of 9).
static std::vector<uint8_t> presetFileByHand(const sim::SimPedal& pedal, const sim::StoredPreset& preset) {
    std::vector<uint8_t> out;
    auto bytes = [&](std::initializer_list<uint8_t> b) { out.insert(out.end(), b); };
    auto u32 = [&](uint32_t v) { bytes({uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); };
    auto text = [&](const char* t, size_t size) {
        for (size_t i = 0; i < size; ++i)
            out.push_back(static_cast<uint8_t>(t[i]));
    };
    auto chunk = [&](const char* tag, uint32_t length) {
        text(tag, 4);
        u32(length);
        u32(0);
        u32(1);
    };
    auto entry = [&](uint16_t code, int32_t value) {
        const auto v = static_cast<uint16_t>(static_cast<int16_t>(value));
        bytes({uint8_t(code), uint8_t(code >> 8), uint8_t(v), uint8_t(v >> 8)});
    };
    text("PLAVIK-TOVAN-pre", 16);
    bytes({0xD4, 0x53, 0x2D, 0x76});
    u32(0);
    u32(1);
    chunk("pret", 424);
    chunk("name", 28);
    char name[4] = {};
    char description[24] = {};
    std::memcpy(name, preset.name.data(), 3);
    std::memcpy(description, preset.description.data(), 20);
    text(name, 4);
    text(description, 24);
    chunk("levl", 5 * 4);
    const uint8_t common[] = {0, 1, 2, 4, 3};
    for (int k = 0; k < 5; ++k)
        entry(static_cast<uint16_t>(2 + k), pedal.value(5, 0, common[k]));
    const char codes[] = "ABCDEFGJTUVWXaYbZ[\\]^_`|hkijlmpnoqrstuv";
    const uint8_t control[] = {0,  1,  2,  3,  4,  5,  23, 6,  24, 7,  8,  9,  10, 19, 20, 21,
                               26, 11, 22, 12, 13, 25, 27, 30, 28, 29, 31, 14, 15, 16, 17, 18};
    for (uint8_t f = 0; f < 2; ++f) {
        chunk("filt", 39 * 4);
        for (uint8_t i = 0; i < 7; ++i)
            entry(static_cast<uint8_t>(codes[i]), pedal.value(6, f, i) + (i == 5 ? 9 : 0));
        for (int i = 0; i < 32; ++i)
            entry(static_cast<uint8_t>(codes[7 + i]), pedal.value(7, f, control[i]));
    }
    return out;
}

TEST_F(Files, AnExportedPresetHoldsThePedalsPreset) {
    connect();
    process.presets().select(107);
    process.session().pollStatus();
    // A value of its own in every field, the tapers below their middle.
    int16_t next = 1;
    for (uint8_t f = 0; f < 2; ++f) {
        for (uint8_t i = 0; i < 7; ++i)
            ASSERT_TRUE(pedal().turnControl(6, f, i, i == 5 ? static_cast<int16_t>(-3 - f) : next++));
        for (uint8_t i = 0; i < 32; ++i)
            ASSERT_TRUE(pedal().turnControl(7, f, i, next++));
    }
    for (uint8_t i = 0; i < 5; ++i)
        ASSERT_TRUE(pedal().turnControl(5, 0, i, next++));
    process.session().reloadLocked(true);
    const fs::path file = folder / "export.tovan";
    ASSERT_TRUE(asking::exportPresetTo(process, file.string()));
    const auto bytes = readBytes(file);
    ASSERT_EQ(bytes.size(), 468u);
    EXPECT_EQ(bytes, presetFileByHand(pedal(), pedal().userPreset(7)));
    // The filter-1 taper's entry (code 'F', i = 5 of the first "filt") holds Lo 3 as 6.
    const size_t taper = 28 + 16 + 16 + 28 + 16 + 20 + 16 + 5 * 4;
    EXPECT_EQ(bytes[taper], 'F');
    EXPECT_EQ(bytes[taper + 2], 6);
}

TEST_F(Files, LoadingAPresetFileRestoresTheEditBuffer) {
    connect();
    const auto before = pedalValues();
    const fs::path file = folder / "A name of twenty-five chars.tovan";
    ASSERT_TRUE(asking::exportPresetTo(process, file.string()));
    ASSERT_TRUE(pedal().turnControl(6, 0, 2, 1234));
    ASSERT_TRUE(pedal().turnControl(7, 1, 7, 3));
    process.session().pollStatus();

    ASSERT_TRUE(asking::loadFile(process, file.string()));
    EXPECT_EQ(pedalValues(), before);
    EXPECT_STREQ(process.presets().description(), "A name of twenty-fiv");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Files, ExportFailuresAreReported) {
    connect();
    EXPECT_FALSE(asking::exportPresetTo(process, (folder / "missing" / "x.tovan").string()));
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

TEST_F(Files, ABackupRoundTripsThroughThePedal) {
    connect();
    process.presets().select(12);
    process.session().pollStatus();
    process.presets().setPedalMode(true);
    process.parameters()->SetValue(5, 1.0f);
    process.values().sendParameter(92, 55.0f);
    const fs::path file = folder / "all.tovan_all";
    ASSERT_TRUE(asking::saveBackupTo(process, file.string()));
    EXPECT_EQ(dialogs.shown.size(), 1u); // the "do not touch" information only
    const auto bytes = readBytes(file);
    Reader reader(bytes);
    ASSERT_EQ(reader.fileHeader()->fileKind(), FileKind::Backup);
    ReadFlags flags;
    const auto globals = readGlobalChunk(reader, flags);
    ASSERT_TRUE(globals.has_value());
    EXPECT_EQ(globals->front(), (ParameterValue{92, 55}));
    const auto setlists = readSetlistChunk(reader, flags);
    ASSERT_TRUE(setlists.has_value());
    EXPECT_EQ(setlists->entries.size(), 480u);
    int presets = 0;
    for (PresetContents contents; readPresetChunk(reader, contents, flags); contents = {})
        ++presets;
    EXPECT_EQ(presets, 100);
    EXPECT_FALSE(process.session().isBusy());
    // The pedal is back on its preset with its mode switch as it was.
    EXPECT_EQ(pedal().activePreset(), 12u);
    EXPECT_TRUE(pedal().modeSwitch());

    // Change the pedal, then restore: the user presets and globals come back.
    const auto storedName = pedal().userPreset(3).name;
    process.presets().select(103);
    process.presets().store("Zzz", "Overwritten", 3);
    process.values().sendParameter(92, 10.0f);
    dialogs.answerNext(MessageAnswer::Yes);
    dialogs.answerNext(MessageAnswer::Yes);
    ASSERT_TRUE(asking::loadFile(process, file.string())) << (errors().empty() ? "" : errors().back());
    EXPECT_EQ(pedal().userPreset(3).name, storedName);
    EXPECT_EQ(pedal().value(8, 0, 0), 55);
}

TEST_F(Files, ABackupThatStopsHalfWayLeavesTheOldFileAlone) {
    connect();
    const fs::path file = folder / "all.tovan_all";
    writeBytes(file, {1, 2, 3});
    sim::Faults faults;
    faults.unplugAfter = static_cast<int64_t>(pedal().counters().exchanges) + 300;
    pedal().setFaults(faults);
    EXPECT_FALSE(asking::saveBackupTo(process, file.string()));
    EXPECT_EQ(readBytes(file), (std::vector<uint8_t>{1, 2, 3}));
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_NE(errors()[0].find("backup"), std::string::npos);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

TEST_F(Files, ARestoreToAPedalThatStopsAnsweringSaysSo) {
    connect();
    const fs::path file = folder / "all.tovan_all";
    ASSERT_TRUE(asking::saveBackupTo(process, file.string()));
    sim::Faults faults;
    faults.unplugAfter = static_cast<int64_t>(pedal().counters().exchanges) + 200;
    pedal().setFaults(faults);
    dialogs.answerNext(MessageAnswer::Yes);
    dialogs.answerNext(MessageAnswer::Yes);
    EXPECT_FALSE(asking::loadFile(process, file.string()));
    const auto shown = errors();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().rfind(kPedalError, 0), 0u) << shown.back();
}

TEST_F(Files, ARestoreWritesOnlyTheSlotsThePedalHas) {
    connect();
    std::vector<SetlistSlot> table(12 * 30, SetlistSlot{9, 42});
    Writer writer;
    writer.fileHeader(FileKind::Backup);
    writeGlobalChunk(writer, [](int32_t) { return 0; });
    writeSetlistChunk(writer, 12, 30, table);
    const fs::path file = folder / "wide.tovan_all";
    writeBytes(file, writer.bytes());
    backend.clear();
    dialogs.answerNext(MessageAnswer::Yes);
    dialogs.answerNext(MessageAnswer::Yes);
    EXPECT_FALSE(asking::loadFile(process, file.string())) << "it holds no presets";
    const auto slotWrites = backend.framesOf(proto::kWrite, 7, 3);
    EXPECT_EQ(slotWrites.size(), 12u * 20u);
    for (const auto& frame : slotWrites)
        EXPECT_LT(frame.header.address[1], 20);
    EXPECT_EQ(pedal().setlist(4).preset[19], 42);
}

TEST_F(Files, BadFilesAreRefusedWithTheRightMessage) {
    connect();
    // 27 bytes: not even a header.
    writeBytes(folder / "short.tovan", std::vector<uint8_t>(27, 0));
    EXPECT_FALSE(asking::loadFile(process, (folder / "short.tovan").string()));
    EXPECT_EQ(errors(), std::vector<std::string>{kNotValid});

    // Right signature and version, unknown kind: closed without a word.
    Writer unknown;
    unknown.fileHeader(FileKind::Preset);
    auto bytes = unknown.bytes();
    std::memcpy(bytes.data(), "PLAVIK-TOVAN-xyz", 16);
    writeBytes(folder / "odd.tovan", bytes);
    EXPECT_FALSE(asking::loadFile(process, (folder / "odd.tovan").string()));
    EXPECT_EQ(errors().size(), 1u);

    // A second filter chunk of a later version: the rest is applied, then the newer message.
    const fs::path file = folder / "newer.tovan";
    ASSERT_TRUE(asking::exportPresetTo(process, file.string()));
    bytes = readBytes(file);
    bytes[28 + 16 + 44 + 36 + 172 + 12] = 2; // the second "filt" header's version
    ASSERT_EQ(std::string(bytes.begin() + 28 + 16 + 44 + 36 + 172, bytes.begin() + 28 + 16 + 44 + 36 + 176),
              "filt");
    writeBytes(file, bytes);
    ASSERT_TRUE(pedal().turnControl(6, 0, 2, 1111));
    process.session().pollStatus();
    EXPECT_FALSE(asking::loadFile(process, file.string()));
    EXPECT_EQ(errors().back(), kNewer);
    EXPECT_EQ(errors().size(), 2u);
    EXPECT_NE(pedal().value(6, 0, 2), 1111) << "the first filter was applied";

    EXPECT_FALSE(asking::loadFile(process, (folder / "absent.tovan").string()));
    EXPECT_EQ(errors().back(), "The file could not be opened.");
}

namespace {

using tovan::proto::Header;

bool isRequest(const Header& header, uint8_t group, uint16_t command) {
    return header.direction == proto::kRequest && header.group == group && header.command == command;
}

// Where the "pret" chunk of user preset `slot` starts in a backup of 12 setlists of 20 slots.
size_t presetChunkAt(int slot) {
    const size_t globals = 16 + 19 * 4;
    const size_t setlists = 16 + (2 + 12 * 20 * 2) * 4;
    return 28 + globals + setlists + static_cast<size_t>(slot) * (16 + 424);
}

} // namespace

TEST_F(Files, ABackupRidesOutAPendingRevertLostAnswersAndFailingBlocks) {
    connect();
    const fs::path clean = folder / "clean.tovan_all";
    ASSERT_TRUE(asking::saveBackupTo(process, clean.string()));
    process.presets().select(42);
    pedal().setModeSwitch(true);

    // A revert just before leaves status bit 5 pending; then every third
    // status answer is lost, and one block of P05 fails all three attempts.
    ASSERT_TRUE(process.presets().revert());
    int statusAnswers = 0;
    int blockFailures = 0;
    bool inP05 = false;
    backend.log->fault = [&](char kind, const Header& header, bool isHeader) {
        if (kind == 'w' && isHeader && header.direction == proto::kWrite && header.command == 2)
            inP05 = false;
        if (kind == 'r' && isRequest(header, 5, 2)) inP05 = false;
        if (kind == 'w' && isHeader && isRequest(header, 5, 3)) inP05 = header.address[0] == 0x85;
        if (kind == 'r' && isRequest(header, 1, 14) && ++statusAnswers % 3 == 0) return HidStatus::timedOut;
        if (kind == 'w' && isHeader && inP05 && isRequest(header, 5, 7) && header.address[2] == 2 &&
            blockFailures < 3) {
            ++blockFailures;
            return HidStatus::failed;
        }
        return HidStatus::ok;
    };
    const fs::path faulty = folder / "faulty.tovan_all";
    ASSERT_TRUE(asking::saveBackupTo(process, faulty.string())) << (errors().empty() ? "" : errors().back());
    EXPECT_EQ(blockFailures, 3);
    EXPECT_EQ(readBytes(faulty), readBytes(clean)) << "the same pedal gives the same backup";
    EXPECT_EQ(pedal().activePreset(), 42u);
    EXPECT_TRUE(pedal().modeSwitch()) << "the pedal's own mode switch is put back";
}

TEST_F(Files, ABackupThatCannotReadASlotFailsAndSaysWhich) {
    connect();
    process.presets().select(117);
    const fs::path file = folder / "all.tovan_all";
    writeBytes(file, {7, 7, 7});
    // P05's description never arrives, whatever the retries.
    backend.log->fault = [](char kind, const Header& header, bool) {
        return kind == 'r' && isRequest(header, 5, 4) && header.address[0] == 0x85 ? HidStatus::failed
                                                                                   : HidStatus::ok;
    };
    EXPECT_FALSE(asking::saveBackupTo(process, file.string()));
    EXPECT_EQ(readBytes(file), (std::vector<uint8_t>{7, 7, 7}));
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_NE(errors()[0].find("P05 could not be read: the Tovan did not answer"), std::string::npos)
        << errors()[0];
    EXPECT_EQ(pedal().activePreset(), 117u);
}

TEST_F(Files, ARestoreLeavesSlotsItCannotRestoreAsTheyAre) {
    connect();
    const fs::path file = folder / "all.tovan_all";
    ASSERT_TRUE(asking::saveBackupTo(process, file.string()));
    auto bytes = readBytes(file);
    ASSERT_EQ(std::string(bytes.begin() + presetChunkAt(3), bytes.begin() + presetChunkAt(3) + 4), "pret");
    bytes[presetChunkAt(3) + 12] = 2; // P03 comes from a later version
    writeBytes(file, bytes);

    const auto original = pedal().userPreset(4);
    for (int32_t slot : {3, 4, 7}) {
        process.presets().select(100 + slot);
        process.values().sendParameter(16, 3333.0f);
        ASSERT_TRUE(process.presets().store("Zzz", "Changed", slot));
    }
    process.presets().select(150);
    pedal().setModeSwitch(true);
    process.session().pollStatus();

    // P07 is never stored, and a value of P09 does not reach the pedal.
    int storedSlot = -1;
    int valueFailures = 0;
    backend.log->fault = [&](char kind, const Header& header, bool isHeader) {
        if (kind != 'w' || !isHeader || header.direction != proto::kWrite) return HidStatus::ok;
        if (header.group == 5 && header.command == 11) {
            if (header.address[1] == 7) return HidStatus::failed;
            storedSlot = header.address[1];
        }
        if (storedSlot == 8 && header.group == 5 && header.command == 6 && valueFailures < 6) {
            ++valueFailures; // every attempt of both rounds
            return HidStatus::failed;
        }
        return HidStatus::ok;
    };
    dialogs.answerNext(MessageAnswer::Yes);
    dialogs.answerNext(MessageAnswer::Yes);
    EXPECT_FALSE(asking::loadFile(process, file.string()));
    const auto shown = errors();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], kNewer);
    EXPECT_EQ(shown[1].rfind(kPedalError, 0), 0u);
    EXPECT_NE(shown[1].find("User presets not restored: P07, P09."), std::string::npos) << shown[1];

    EXPECT_EQ(std::string(pedal().userPreset(3).name.data(), 3), "Zzz") << "a later version is not stored";
    EXPECT_EQ(pedal().userPreset(3).values.filter[0][2], 3333);
    EXPECT_EQ(std::string(pedal().userPreset(7).name.data(), 3), "Zzz");
    EXPECT_EQ(pedal().userPreset(4).name, original.name);
    EXPECT_EQ(pedal().userPreset(4).values.filter[0], original.values.filter[0]);
    EXPECT_EQ(pedal().activePreset(), 150u);
    EXPECT_TRUE(pedal().modeSwitch());
}
