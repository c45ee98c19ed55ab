#include "editor/prefs.h"

#include <memory>
#include <tuple>

#include "toolkit/controls/control.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/messages.h"
#include "toolkit/page_manager.h"
#include "toolkit/preference.h"

CPrefs::CPrefs(std::string_view keyPath, CCPageManager* owner) : CCPreferenceManager(keyPath), editor(owner) {
    // Controls bound to a setting rather than a parameter read it from here.
    setControlPreferences(this);
}

CPrefs::~CPrefs() {
    if (controlPreferences() == this) setControlPreferences(nullptr);
}

void CPrefs::createPreferences() {
    for (auto [id, name, fallback] :
         {std::tuple{kTopmost, "Topmost", 0}, std::tuple{kPotControl, "Pot Control", 1}})
        if (CCPreference* added = addPreference(std::make_unique<CCIntPreference>(id, name, this, fallback)))
            load(*added);
}

void CPrefs::preferenceChanged(CCPreference* preference) {
    if (preference == nullptr) return;
    const int32_t value = preference->intValue();
    if (preference->id == kPotControl) setPotDragMode(value > 0 ? kPotDragLinear : kPotDragCircular);
    if (editor == nullptr) return;
    // Every control showing the setting follows it, hidden ones too (a set-value
    // message does not report back, so nothing is stored twice).
    CCMsg show(kMsgSetValue, preference->id, value, static_cast<float>(value));
    show.forceDelivery = 1;
    editor->dispatch(show);
    if (preference->kind == CCPreference::Integer && preference->id == kTopmost) {
        CCMsg topmost(kMsgValueChanged, kSetTopmostCommand, value, static_cast<float>(value));
        topmost.forceDelivery = 1;
        editor->dispatch(topmost);
    }
}
