#include <gtest/gtest.h>

#include <cstring>

#include "editor/pedal_questions.h"
#include "link/tovan_process.h"
#include "model/parameter_kinds.h"
#include "model/pedal_parameters.h"
#include "pedal_test_support.h"
#include "platform/headless/scripted_dialogs.h"

using namespace tovan;
using pedaltest::Frame;

namespace {

constexpr uint8_t W = proto::kWrite;
constexpr uint8_t R = proto::kRequest;

class Protocol : public ::testing::Test {
protected:
    Protocol() : process(backend, &view) {
        previousDialogs = setDialogHost(&dialogs);
        view.process = &process;
        process.setQuestions(&questions);
        process.exchange().setSleeper([](std::chrono::milliseconds) {});
        process.Open();
    }
    ~Protocol() override {
        process.session().attachedPedals().clear();
        setDialogHost(previousDialogs);
    }

    void connect() {
        ASSERT_TRUE(process.session().connect());
        ASSERT_TRUE(process.session().isConnected());
        process.session().reloadLocked(true);
        backend.clear();
    }
    sim::SimPedal& pedal() { return backend.sim.pedal(0); }
    float value(int32_t index) { return process.parameters()->GetValue(index); }
    std::vector<Frame> frames() { return backend.frames(); }

    pedaltest::LoggingBackend backend;
    pedaltest::RecordingView view;
    TovanProcess process;
    ScriptedDialogs dialogs;
    asking::DialogQuestions questions;
    DialogHost* previousDialogs = nullptr;
};

// The header bytes of a frame, for byte-exact checks.
proto::Payload headerBytes(const Frame& frame) {
    return proto::encodeHeader(frame.header);
}

} // namespace

TEST_F(Protocol, AFullReloadReadsEverythingInItsOrder) {
    ASSERT_TRUE(process.session().connect());
    const auto afterConnect = frames();
    ASSERT_EQ(afterConnect.size(), 1u); // the device selector asks each pedal its name
    EXPECT_TRUE(afterConnect[0].is(R, 1, 4));
    backend.clear();

    process.session().reloadLocked(true);
    const auto all = frames();
    size_t at = 0;
    auto expect = [&](uint8_t group, uint16_t command, size_t times) {
        for (size_t i = 0; i < times; ++i, ++at) {
            ASSERT_LT(at, all.size());
            ASSERT_TRUE(all[at].is(R, group, command))
                << "frame " << at << " is " << int(all[at].header.group) << "/" << all[at].header.command;
        }
    };
    expect(5, 2, 1);
    expect(1, 3, 1);
    expect(1, 11, 1);
    expect(1, 4, 1);
    for (int preset = 0; preset < 200; ++preset) {
        expect(5, 3, 1);
        expect(5, 4, 2);
    }
    expect(7, 0, 1);
    expect(7, 1, 1);
    for (int s = 0; s < 12; ++s) {
        expect(7, 2, 1);
        expect(7, 6, 2);
        for (int k = 0; k < 20; ++k) {
            expect(7, 3, 1);
            expect(7, 4, 1);
        }
    }
    for (const DeviceField& row : kDeviceMap) {
        ASSERT_LT(at, all.size());
        EXPECT_TRUE(all[at].is(R, 5, row.command));
        EXPECT_EQ(all[at].header.address, (PedalExchange::Address{row.item, row.filter, 0, 0}));
        ++at;
    }
    expect(5, 3, 1);
    expect(5, 4, 2);
    EXPECT_EQ(at, all.size());
    EXPECT_EQ(backend.writeCount(), 0u);

    // What was read is in the parameter set and on the page.
    EXPECT_FLOAT_EQ(value(16), pedal().value(6, 0, 2));
    EXPECT_FLOAT_EQ(value(58), pedal().value(6, 1, 5) + 9);
    EXPECT_EQ(process.parameters()->GetIntMin(19), 0);
    EXPECT_EQ(process.parameters()->GetIntMax(19), 18);
    char name[kParameterTextSize];
    process.parameters()->Format(8, name, 0, 16);
    EXPECT_STREQ(name, "Tovan");
    EXPECT_EQ(std::strlen(process.identity().uniqueId()), 24u);
    EXPECT_EQ(process.identity().firmwareVersion(), (std::array<uint8_t, 3>{1, 5, 0}));
    EXPECT_TRUE(process.firmware().checkPending());
    EXPECT_TRUE(view.connected);
    EXPECT_EQ(process.setlists().count(), 12);
    // Two banks and twenty groups, each opened and closed, and 200 presets.
    EXPECT_EQ(view.menus[7].size(), 4u + 40u + 200u);
    EXPECT_EQ(view.menus[7][0], ">Factory");
    EXPECT_EQ(view.menus[112].front(), "Empty=255");
    EXPECT_EQ(view.menus[131], view.menus[112]);
    EXPECT_EQ(view.menus[7][1], ">Pedal") << "the factory bank opens with the first effect type";
    EXPECT_EQ(view.menus[7][2].substr(0, 4), "00: ");
}

TEST_F(Protocol, CommandsAreByteExact) {
    connect();
    process.values().sendParameter(19, 9.0f); // the taper travels offset: 9 is the pedal's 0
    process.presets().selectOnPedal(199);
    process.presets().setPedalMode(true);
    process.presets().store("Wah", "A twenty-char descr.", 7);
    process.presets().revert();
    process.firmware().enterUpdateMode();
    const auto all = frames();
    ASSERT_EQ(all.size(), 7u);

    const proto::Payload taperHeader{0x4F, 0x0E, 0xB0, 0x3E, 0, 5, 6, 0, 5, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(headerBytes(all[0]), taperHeader);
    EXPECT_EQ(all[0].data, proto::Payload{});
    EXPECT_EQ(pedal().value(6, 0, 5), 0);

    EXPECT_TRUE(all[1].is(W, 5, 2));
    EXPECT_EQ(all[1].data[0], 0xE3);
    EXPECT_EQ(proto::decodePresetCode(0xFF), 199u);
    EXPECT_TRUE(all[2].is(W, 5, 0));
    EXPECT_EQ(all[2].data[0], 1);

    EXPECT_TRUE(all[3].is(W, 5, 11));
    EXPECT_EQ(all[3].header.address, (PedalExchange::Address{0, 7, 0, 0}));
    EXPECT_EQ(std::memcmp(all[3].data.data(), "WahA twenty-char", 16), 0);
    EXPECT_EQ(all[4].header.address, (PedalExchange::Address{1, 7, 0, 0}));
    EXPECT_EQ(std::memcmp(all[4].data.data(), " descr.", 7), 0) << "characters 13-19";
    EXPECT_TRUE(std::equal(all[4].data.begin() + 7, all[4].data.end(), all[3].data.begin() + 7));
    EXPECT_EQ(std::string(pedal().userPreset(7).name.data(), 3), "Wah");

    EXPECT_TRUE(all[5].is(W, 5, 10));
    EXPECT_TRUE(all[6].is(W, 1, 2));
    EXPECT_EQ(all[6].data, proto::Payload{});
}

TEST_F(Protocol, ValuesChangedOnThePedalAreReadBackWithoutEcho) {
    connect();
    ASSERT_TRUE(pedal().turnControl(6, 1, 0, 77)); // filter 2's toe height
    process.session().pollStatus();
    const auto all = frames();
    ASSERT_GE(all.size(), 4u);
    EXPECT_TRUE(all[0].is(R, 1, 14));
    EXPECT_TRUE(all[1].is(R, 5, 9));
    // A mask bit re-reads that item of both filters.
    EXPECT_TRUE(all[2].is(R, 5, 6));
    EXPECT_EQ(all[2].header.address, (PedalExchange::Address{0, 0, 0, 0}));
    EXPECT_TRUE(all[3].is(R, 5, 6));
    EXPECT_EQ(all[3].header.address, (PedalExchange::Address{0, 1, 0, 0}));
    EXPECT_FLOAT_EQ(value(53), 77.0f);
    EXPECT_EQ(backend.writeCount(), 0u) << "values from the pedal are not written back";

    // A taper of 0 on the pedal shows as 9.
    ASSERT_TRUE(pedal().turnControl(6, 1, 5, 0));
    process.session().pollStatus();
    EXPECT_FLOAT_EQ(value(58), 9.0f);
}

TEST_F(Protocol, ControlsOnThePageFollowThePedal) {
    view.controls = {14, 53, 19};
    connect();
    EXPECT_EQ(view.ranges[19], (std::pair<int32_t, int32_t>{0, 18}));
    EXPECT_TRUE(view.floatModes[19]);
    ASSERT_TRUE(pedal().turnControl(6, 0, 0, 33));
    process.session().pollStatus();
    EXPECT_EQ(view.values[14], 33);
    EXPECT_FLOAT_EQ(value(14), 33.0f);
    EXPECT_EQ(backend.writeCount(), 0u);
}

TEST_F(Protocol, OnlyThePlayersSetlistChangeResetsTheSlot) {
    view.controls = {109};
    connect();
    process.values().sendParameter(109, 2.0f);
    auto all = frames();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_TRUE(all[0].is(W, 5, 8));
    EXPECT_EQ(all[0].header.address, (PedalExchange::Address{16, 0, 0, 0}));
    EXPECT_EQ(all[0].data[0], 2);
    EXPECT_TRUE(all[1].is(W, 7, 5));

    // The same change coming from the pedal is only shown: the pedal reset
    // its slot itself, and a reset now would send a playing setlist back to
    // its first slot.
    backend.clear();
    ASSERT_TRUE(pedal().turnControl(8, 0, 16, 1));
    process.session().pollStatus();
    EXPECT_EQ(backend.writeCount(), 0u);
    // Setlist 1 (the demo list) is now shown: its slots hold presets 0..19.
    EXPECT_EQ(view.values[112 + 3], 3);
    EXPECT_TRUE(view.visibility[131]);

    // Nor does a full reload with the setlist, the preset and the mode switch on the page.
    view.controls = {5, 7, 109};
    pedal().setModeSwitch(true);
    process.session().reloadLocked(true);
    process.session().pollStatus();
    EXPECT_EQ(backend.writeCount(), 0u);
    EXPECT_FLOAT_EQ(value(5), 1.0f) << "the mode switch follows status bit 6";
    pedal().setModeSwitch(false);
    process.session().pollStatus();
    EXPECT_FLOAT_EQ(value(5), 0.0f);
    EXPECT_EQ(backend.writeCount(), 0u);
}

TEST_F(Protocol, ASetlistNameGoesOutInTwoParts) {
    connect();
    process.values().sendParameter(109, 3.0f); // setlist B
    backend.clear();
    view.texts[111] = "Friday night at the Blue Note, set two";
    process.values().sendParameter(111, 0.0f);
    const auto names = backend.framesOf(W, 7, 6);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].header.address, (PedalExchange::Address{2, 0, 0, 0}));
    EXPECT_EQ(names[1].header.address, (PedalExchange::Address{2, 1, 0, 0}));
    EXPECT_EQ(std::string(names[0].data.begin(), names[0].data.end()), "Friday night at ");
    EXPECT_EQ(std::string(names[1].data.begin(), names[1].data.end()), "the Blue Note, s");
    EXPECT_STREQ(process.setlists().records()[2].name.data(), "Friday night at the Blue Note, s");

    process.values().sendParameter(109, 0.0f); // no setlist active: nothing is named
    backend.clear();
    process.values().sendParameter(111, 0.0f);
    EXPECT_TRUE(frames().empty());
}

TEST_F(Protocol, SlotButtonsSelectOrSpringBack) {
    connect();
    process.values().sendParameter(109, 2.0f); // setlist A: every slot empty
    backend.clear();
    process.values().sendParameter(152 + 4, 1.0f);
    EXPECT_EQ(view.quiet.back(), (std::pair<int32_t, int32_t>{156, 0}));
    EXPECT_EQ(backend.writeCount(), 0u);

    process.values().sendParameter(109, 1.0f); // the demo setlist: slot k holds preset k
    backend.clear();
    view.quiet.clear();
    process.values().sendParameter(152 + 4, 1.0f);
    const auto selects = backend.framesOf(W, 5, 2);
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0].data[0], 4);
    EXPECT_EQ(view.quiet.size(), 19u); // the other buttons go back to 0
}

TEST_F(Protocol, PresetOperationsKeepToTheirLimits) {
    connect();
    process.values().sendParameter(7, 0.0f);
    backend.clear();
    process.presets().remove(); // a factory preset cannot be deleted
    process.presets().step(false);
    EXPECT_TRUE(frames().empty());

    process.parameters()->SetValue(7, 199.0f);
    process.presets().step(true);
    EXPECT_TRUE(frames().empty());

    process.parameters()->SetValue(7, 105.0f);
    process.presets().remove();
    const auto deleted = backend.framesOf(W, 5, 12);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].header.address[0], 5);

    process.presets().step(false);
    const auto stepped = backend.framesOf(W, 5, 2);
    ASSERT_EQ(stepped.size(), 1u);
    EXPECT_EQ(stepped[0].data[0], 0x80 + 4);
}

TEST_F(Protocol, TheDiscardQuestionDecidesWhetherThePresetChanges) {
    connect();
    process.values().sendParameter(9, 42.0f); // an edit on the pedal
    process.session().pollStatus();
    ASSERT_TRUE(process.presets().isEdited());
    const int32_t loaded = process.presets().loaded();
    backend.clear();

    process.values().sendParameter(7, static_cast<float>(loaded + 1)); // the player answers No
    EXPECT_TRUE(frames().empty());
    EXPECT_FLOAT_EQ(value(7), static_cast<float>(loaded));
    EXPECT_EQ(view.quiet.back(), (std::pair<int32_t, int32_t>{7, loaded}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(
        dialogs.shown[0].text,
        "The current preset has been edited.\n\nDo you want to discard changes and select a new preset?");

    dialogs.answerNext(MessageAnswer::Yes);
    process.values().sendParameter(7, static_cast<float>(loaded + 1));
    const auto all = frames();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_TRUE(all[0].is(W, 5, 10));
    EXPECT_TRUE(all[1].is(W, 5, 2));
    EXPECT_FALSE(process.presets().isEdited());
}

TEST_F(Protocol, LockingDisablesParametersAndSteppingInASetlist) {
    connect();
    pedal().setLocked(true);
    process.session().pollStatus();
    EXPECT_TRUE(process.presets().isLocked());
    EXPECT_TRUE(view.status.locked);
    EXPECT_FALSE(process.parameters()->IsAutomatable(20));
    EXPECT_FALSE(process.parameters()->IsAutomatable(110));
    EXPECT_TRUE(process.parameters()->IsAutomatable(5));

    process.parameters()->SetValue(109, 1.0f);
    backend.clear();
    process.presets().step(true);
    EXPECT_TRUE(frames().empty());

    pedal().setLocked(false);
    process.session().pollStatus();
    EXPECT_TRUE(process.parameters()->IsAutomatable(20));
}

TEST_F(Protocol, ResetKeepsThePedalsName) {
    connect();
    process.parameters()->ParseString(8, "My Tovan");
    process.values().sendParameter(8, 0.0f);
    dialogs.answerNext(MessageAnswer::Yes);
    backend.clear();
    asking::resetPedal(process);
    const auto all = frames();
    ASSERT_GE(all.size(), 3u);
    EXPECT_TRUE(all[0].is(W, 1, 7));
    EXPECT_TRUE(all[1].is(W, 1, 4));
    EXPECT_EQ(std::memcmp(all[1].data.data(), "My Tovan\0\0\0\0\0\0\0\0", 16), 0);
    EXPECT_TRUE(all[2].is(W, 1, 5)) << "a name write is followed by command 5";
    const auto name = pedal().name();
    EXPECT_EQ(std::memcmp(name.data(), "My Tovan", 8), 0);

    backend.clear();
    asking::resetPedal(process); // No: nothing happens
    EXPECT_TRUE(frames().empty());
}

TEST_F(Protocol, FailingReportsAreRetriedThenSkipped) {
    connect();
    sim::Faults faults;
    faults.failRate = 1.0;
    pedal().setFaults(faults);
    const uint64_t before = pedal().counters().failed;
    process.values().readParameterValues();
    // Fourteen blocks (1 + 1 + 1 + 4 + 4 + 3), each tried three times, each
    // attempt failing at its header.
    EXPECT_EQ(pedal().counters().failed - before, 42u);

    pedal().setFaults({});
    process.parameters()->SetValue(9, -1.0f);
    process.values().readParameterValues();
    EXPECT_FLOAT_EQ(value(9), pedal().value(5, 0, 0));
}

TEST_F(Protocol, NothingIsSentWhileDisconnected) {
    process.values().sendParameter(9, 12.0f);
    EXPECT_FLOAT_EQ(value(9), 12.0f);
    process.presets().select(3);
    process.presets().step(true);
    process.presets().remove();
    process.presets().store("abc", "def", 1);
    dialogs.answerNext(MessageAnswer::Yes);
    asking::resetPedal(process);
    process.session().pollStatus();
    process.session().reload(true);
    EXPECT_TRUE(frames().empty());
}

TEST_F(Protocol, TheCurrentPedalFollowsPlugAndUnplug) {
    connect();
    backend.sim.plug(std::make_unique<sim::SimPedal>(sim::SimOptions{"Second", {1, 5, 0}, {1, 0, 4}, 2}));
    EXPECT_FALSE(process.session().connect()) << "the current pedal stays";
    EXPECT_EQ(view.menus[1], (std::vector<std::string>{"Tovan=0", "Second=1"}));
    backend.sim.unplug(0);
    EXPECT_TRUE(process.session().connect());
    EXPECT_TRUE(process.session().isConnected());
    backend.sim.unplug(1);
    EXPECT_TRUE(process.session().connect());
    EXPECT_FALSE(process.session().isConnected());
}
