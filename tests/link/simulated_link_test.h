#pragma once

// What the preset-file and librarian tests start from: a link on the
// simulated pedal whose pauses move a manual clock, scripted dialogs and a
// temporary folder, all put back or removed afterwards.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "file_test_support.h"
#include "link/tovan_process.h"
#include "pedal_test_support.h"
#include "platform/headless/scripted_dialogs.h"

namespace filetest {

// View is the page the link shows the pedal on when withView is set.
template <typename View>
class SimulatedLinkTest : public ::testing::Test {
protected:
    SimulatedLinkTest(const char* folderPrefix, bool withView)
        : process(backend, withView ? &view : nullptr) {
        previousDialogs = setDialogHost(&dialogs);
        if (withView) view.process = &process;
        process.exchange().setSleeper(
            [this](std::chrono::milliseconds step) { clock.now += static_cast<uint32_t>(step.count()); });
        process.setClock(&clock);
        process.Open();
        std::string pattern = (std::filesystem::temp_directory_path() / folderPrefix).string() + "-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        folder = pattern;
    }
    ~SimulatedLinkTest() override {
        process.session().attachedPedals().clear();
        setDialogHost(previousDialogs);
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
    void connect() {
        ASSERT_TRUE(process.session().connect());
        process.session().reloadLocked(true);
    }
    tovan::sim::SimPedal& pedal() { return backend.sim.pedal(0); }

    pedaltest::LoggingBackend backend;
    View view;
    TovanProcess process;
    ScriptedDialogs dialogs;
    ManualClock clock;
    std::filesystem::path folder;
    DialogHost* previousDialogs = nullptr;
};

} // namespace filetest
