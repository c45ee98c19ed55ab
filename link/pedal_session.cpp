#include "link/pedal_session.h"

#include <cstring>

#include "link/pedal_view.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"

using namespace tovan;

PedalSession::PedalSession(TovanProcess& process, LinkState& state, HidBackend& backend)
    : process(process), state(state), backend(backend) {}

bool PedalSession::connect() {
    const int result = scanDevices(backend, pedalPattern(), state.current, state.attached);
    const bool changed = result != 2;
    if (changed) state.connected = result == 1;
    refreshDeviceMenu();
    return changed;
}

void PedalSession::refreshDeviceMenu() {
    const ReadingPedal reading(state);
    PedalView* view = state.view;
    if (view != nullptr) view->clearMenu(kDeviceSelect);
    int32_t selected = 0;
    std::vector<CHidDevice>& pedals = state.attached;
    for (size_t i = 0; i < pedals.size(); ++i) {
        // A pedal another program holds is listed, and not asked anything.
        if (const auto& holder = pedals[i].heldBy()) {
            if (view != nullptr)
                view->addMenuItem(kDeviceSelect, "in use by " + holder->text(), {}, static_cast<int32_t>(i));
            continue;
        }
        proto::Payload answer{};
        if (!process.exchange().transact(pedals[i], proto::kRequest, proto::kGroupDevice,
                                         proto::device::kName, {}, answer))
            continue;
        const std::string name(reinterpret_cast<const char*>(answer.data()),
                               strnlen(reinterpret_cast<const char*>(answer.data()), 16));
        if (view != nullptr) view->addMenuItem(kDeviceSelect, name, {}, static_cast<int32_t>(i));
        if (pedals[i].path() == state.current.path()) selected = static_cast<int32_t>(i);
    }
    // The link chose the current pedal itself: showing it must not select it
    // again (which would read the whole pedal a second time).
    if (PARAMETER_MANAGER* parameters = process.parameters())
        parameters->SetValue(kDeviceSelect, static_cast<float>(selected));
    if (view != nullptr) {
        view->setControlValueQuiet(kDeviceSelect, selected);
        const std::optional<ClaimHolder> holder = pedalHeldElsewhere();
        view->showPedalHeld(holder ? holder->text() : std::string());
        view->invalidatePage();
    }
}

std::optional<ClaimHolder> PedalSession::pedalHeldElsewhere() const {
    if (state.connected) return std::nullopt;
    for (const CHidDevice& pedal : state.attached)
        if (pedal.heldBy()) return pedal.heldBy();
    return std::nullopt;
}

bool PedalSession::useDevice(int32_t index) {
    std::vector<CHidDevice>& pedals = state.attached;
    if (index < 0 || static_cast<size_t>(index) >= pedals.size()) return false;
    if (pedals[static_cast<size_t>(index)].heldBy()) return false;
    if (pedals[static_cast<size_t>(index)].path() != state.current.path() || !state.current.isOpen())
        state.current = pedals[static_cast<size_t>(index)];
    state.connected = state.current.isOpen();
    return state.connected;
}

void PedalSession::selectDevice(int32_t index) {
    if (!useDevice(index)) return;
    reloadLocked(true);
}

void PedalSession::reload(bool full) {
    // Reading the pedal never writes to it: not the setlist slot reset of a
    // bound setlist control, not the active preset, not the mode switch.
    const ReadingPedal reading(state);
    PedalView* view = state.view;
    if (view != nullptr) view->beginUpdate();
    if (state.connected) {
        PedalPresets& presets = process.presets();
        const int32_t preset = presets.readActive();
        if (full) {
            process.identity().read();
            process.menus().rebuild();
            process.values().readParameterInfo();
        } else {
            if (state.namesChanged) process.menus().rebuild();
            process.values().readParameterValues();
        }
        state.namesChanged = false;
        state.loadedPreset = static_cast<uint32_t>(preset);
        process.parameters()->SetValue(kCurrentPreset, static_cast<float>(preset));
        presets.readName(preset % 100, preset >= 100, state.currentName.data());
        presets.readDescription(preset % 100, preset >= 100, state.currentDescription.data());
        process.ParameterChanged(CVSProcess::kAllChanged);
        process.FlushChanges();
        if (view != nullptr) view->effectChanged();
    }
    if (view != nullptr) {
        view->deviceInfoChanged();
        view->endUpdate();
    }
}

void PedalSession::reloadLocked(bool full) {
    // The whole read is one update of the page, which holds the page's redraw
    // lock, so no redraw interleaves with it.
    PedalView* view = state.view;
    if (view != nullptr) {
        view->beginUpdate();
        view->setBusy(true);
        view->setConnected(state.connected);
    }
    if (state.connected && full && view != nullptr) {
        // The whole pedal takes a while (seconds on a slow pedal): its progress
        // is drawn as it goes, although the page updates only at the end.
        process.exchange().beginReading();
        reload(full);
        process.exchange().endReading();
    } else if (state.connected) {
        reload(full);
    } else if (view != nullptr) {
        view->clearMenu(kCurrentPreset);
    }
    if (view != nullptr) {
        view->invalidatePage();
        view->setBusy(false);
        view->endUpdate();
    }
    if (state.connected && full) state.firmwareCheck = true;
}

void PedalSession::setLockedState(bool on) {
    state.locked = on;
    for (int32_t index = kFirstLockedParameter; index <= kLastParameterSlot; ++index)
        if (PARAMETER* parameter = process.parameters()->Find(index)) parameter->automatable = !on;
    // Bound controls learn the new state with their next value message.
    process.ParameterChanged(CVSProcess::kAllChanged);
    process.FlushChanges();
}

void PedalSession::pollStatus() {
    if (!state.connected) return;
    const ReadingPedal reading(state);
    const auto status = process.exchange().request(proto::kGroupDevice, proto::device::kStatus);
    if (!status) return;
    statusRecord = *status;
    const uint8_t flags = statusRecord[proto::status::kFlagsByte];
    followModeSwitch((flags & proto::status::kModeSwitch) != 0);

    if (flags & proto::status::kNamesChanged) state.namesChanged = true;
    if (flags & proto::status::kValuesChanged) process.values().readChangedParameters();
    if (flags & proto::status::kPresetChanged) {
        state.reloading = true;
        reload(false);
        state.reloading = false;
    }
    if (flags & proto::status::kReload) reload(false);
    state.edited = (flags & proto::status::kEdited) != 0;
    if (state.namesChanged) {
        process.menus().rebuild();
        state.namesChanged = false;
    }
    const bool nowLocked = (statusRecord[proto::status::kLockByte] & proto::status::kLocked) != 0;
    if (nowLocked != state.locked) setLockedState(nowLocked);

    if (PedalView* view = state.view) {
        PedalStatusView shown;
        shown.edited = state.edited;
        shown.modeSwitch = (flags & proto::status::kModeSwitch) != 0;
        shown.lampA = (flags & proto::status::kLampA) != 0;
        shown.lampB = (flags & proto::status::kLampB) != 0;
        shown.locked = state.locked;
        view->showStatus(shown);
        view->showMarkers({statusRecord[proto::status::kMarker1Byte],
                           proto::getU16(statusRecord.data() + proto::status::kMarker1Value)},
                          {statusRecord[proto::status::kMarker2Byte],
                           proto::getU16(statusRecord.data() + proto::status::kMarker2Value)});
        view->effectChanged();
    }
}

void PedalSession::followModeSwitch(bool on) {
    // The switch is the pedal's own: the parameter and its button follow it,
    // and nothing is written back.
    const float value = on ? 1.0f : 0.0f;
    PARAMETER_MANAGER* parameters = process.parameters();
    if (parameters->GetValue(kModeSwitch) == value) return;
    parameters->SetValue(kModeSwitch, value);
    process.ParameterChanged(kModeSwitch);
    process.FlushChanges();
    if (state.view != nullptr && state.view->hasControl(kModeSwitch))
        state.view->setControlValueQuiet(kModeSwitch, on ? 1 : 0);
}

void PedalSession::idle() {
    // A pedal another program held is taken, and read, as soon as it is let go.
    if (anyHeldPedalFreed(state.attached) && connect()) reloadLocked(true);
    if (state.closePanelRequested) {
        state.closePanelRequested = false;
        if (state.view != nullptr) state.view->closeModalPanel();
    }
    if (state.view != nullptr) state.view->commitPendingEdits();
    pollStatus();
}
