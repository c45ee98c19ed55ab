#pragma once

// What only the player can decide in the middle of something the link runs
// and cannot hand back half done: a preset change asked for by the preset
// selector or a setlist slot while the loaded preset holds edits. The editor
// answers through its dialogs, tovan-cli on the terminal. A link without one
// keeps the edits. Everything else the link does returns its outcome, and its
// caller asks before and tells after.
class PlayerQuestions {
public:
    virtual ~PlayerQuestions() = default;
    // The loaded preset holds edits that changing presets loses: true to lose them.
    virtual bool discardEdits() = 0;
};
