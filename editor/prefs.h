#pragma once

#include <string_view>

#include "editor/editor_tags.h"
#include "toolkit/preference_manager.h"

class CCPageManager;

// The editor's own two settings, kept for the user whatever pedal is attached:
// whether the window stays on top ("Topmost") and how knobs follow a drag
// ("Pot Control": above 0 up and down, else round). Every change reaches
// the controls with those tags and applies the setting.
class CPrefs : public CCPreferenceManager {
public:
    static constexpr std::string_view kKeyPath = "SOFTWARE\\Plavik\\Tovan\\1.00";
    static constexpr uint16_t kTopmost = etag::kTopmost;
    static constexpr uint16_t kPotControl = etag::kPotControl;
    // The window command that makes the window topmost or not.
    static constexpr int32_t kSetTopmostCommand = etag::kSetTopmost;

    // `editor` is the page manager the messages go through (none: the settings
    // are kept and applied, but no control hears of them).
    CPrefs(std::string_view keyPath, CCPageManager* editor);
    ~CPrefs() override;

    // Adds both settings, each loaded at once (the default is written when the
    // store has none) and announced.
    void createPreferences() override;
    void preferenceChanged(CCPreference* preference) override;

private:
    CCPageManager* editor;
};
