#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "link/pedal_view.h"

// What the command-line tool shows of the link's page: the device names the
// link reads for its selector, and progress of backup and restore on stderr
// when it is a terminal.
class CliView : public PedalView {
public:
    // `mirror` shows the progress too (the editor's page, when it runs the command).
    CliView(std::FILE* progressOut, bool showProgressLines, PedalView* mirror = nullptr)
        : out(progressOut), showLines(showProgressLines), mirror(mirror) {}

    void clearMenu(int32_t tag) override {
        if (tag == kDeviceMenu) deviceNames.clear();
    }
    void addMenuItem(int32_t tag, std::string_view text, std::string_view, int32_t value) override {
        if (tag == kDeviceMenu) deviceNames.push_back({value, std::string(text)});
    }
    void showProgress(bool visible) override {
        if (mirror != nullptr) mirror->showProgress(visible);
        if (!visible && showLines && shownAny) std::fputc('\n', out);
        shownAny = false;
    }
    void setProgress(int32_t presets) override {
        if (mirror != nullptr) mirror->setProgress(presets);
        if (!showLines || presets == 0) return;
        std::fprintf(out, "\rpreset %d of 100", presets);
        std::fflush(out);
        shownAny = true;
    }

    void setProgressCount(int32_t done, int32_t total) override {
        if (mirror != nullptr) mirror->setProgressCount(done, total);
        if (!showLines || done == 0) return;
        std::fprintf(out, "\rslot %d of %d", done, total);
        std::fflush(out);
        shownAny = true;
    }

    struct DeviceName {
        int32_t index;
        std::string name;
    };
    std::vector<DeviceName> deviceNames;

private:
    static constexpr int32_t kDeviceMenu = 1;
    std::FILE* out;
    bool showLines;
    PedalView* mirror;
    bool shownAny = false;
};
