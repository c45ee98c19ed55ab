#include <cstdio>

#include "link/firmware_update.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"

using namespace tovan;

void TovanProcess::reload(bool full) {
    // Reading the pedal never writes to it: not the setlist slot reset of a
    // bound setlist control, not the active preset, not the mode switch.
    const ReadingPedal reading(*this);
    if (pageView != nullptr) pageView->beginUpdate();
    if (connected) {
        const int32_t preset = readActivePreset();
        if (full) {
            readDeviceInfo();
            rebuildPresetMenus();
            readParameterInfo();
        } else {
            if (namesChanged) rebuildPresetMenus();
            readParameterValues();
        }
        namesChanged = false;
        loadedPresetNumber = static_cast<uint32_t>(preset);
        parameterManager->SetValue(kCurrentPreset, static_cast<float>(preset));
        readPresetName(preset % 100, preset >= 100, currentName.data());
        readPresetDescription(preset % 100, preset >= 100, currentDescription.data());
        ParameterChanged(kAllChanged);
        FlushChanges();
        if (pageView != nullptr) pageView->effectChanged();
    }
    if (pageView != nullptr) {
        pageView->deviceInfoChanged();
        pageView->endUpdate();
    }
}

void TovanProcess::readDeviceInfo() {
    if (const auto versions = request(proto::kGroupDevice, proto::device::kVersions)) {
        std::copy_n(versions->begin(), 3, firmwareVersion.begin());
        std::copy_n(versions->begin() + 3, 3, secondVersion.begin());
    }
    if (const auto identity = request(proto::kGroupDevice, proto::device::kUniqueId)) {
        uniqueIdText.fill(0);
        for (size_t i = 0; i < 12; ++i)
            std::snprintf(uniqueIdText.data() + 2 * i, 3, "%02X", (*identity)[4 + i]);
    }
    if (const auto name = request(proto::kGroupDevice, proto::device::kName))
        parameterManager->SetData(kDeviceName, name->data());
}

void TovanProcess::reloadLocked(bool full) {
    // The whole read is one update of the page, which holds the page's redraw
    // lock, so no redraw interleaves with it.
    if (pageView != nullptr) {
        pageView->beginUpdate();
        pageView->setBusy(true);
        pageView->setConnected(connected);
    }
    if (connected && full && pageView != nullptr) {
        // The whole pedal takes a while (seconds on a slow pedal): its progress
        // is drawn as it goes, although the page updates only at the end.
        readingFrom = exchangeCount;
        readingShown = 0;
        pageView->showReading(0);
        reload(full);
        if (exchangeCount > readingFrom) readingExpected = exchangeCount - readingFrom;
        readingShown = -1;
        pageView->showReading(-1);
    } else if (connected) {
        reload(full);
    } else if (pageView != nullptr) {
        pageView->clearMenu(kCurrentPreset);
    }
    if (pageView != nullptr) {
        pageView->invalidatePage();
        pageView->setBusy(false);
        pageView->endUpdate();
    }
    if (connected && full) firmwareCheck = true;
}

void TovanProcess::setLockedState(bool on) {
    locked = on;
    for (int32_t index = 6; index <= 172; ++index)
        if (PARAMETER* parameter = parameterManager->Find(index)) parameter->automatable = !on;
    // Bound controls learn the new state with their next value message.
    ParameterChanged(kAllChanged);
    FlushChanges();
}

void TovanProcess::pollStatus() {
    if (!connected) return;
    const ReadingPedal reading(*this);
    const auto status = request(proto::kGroupDevice, proto::device::kStatus);
    if (!status) return;
    statusRecord = *status;
    const uint8_t flags = statusRecord[proto::status::kFlagsByte];
    followModeSwitch((flags & proto::status::kModeSwitch) != 0);

    if (flags & proto::status::kNamesChanged) namesChanged = true;
    if (flags & proto::status::kValuesChanged) readChangedParameters();
    if (flags & proto::status::kPresetChanged) {
        reloading = true;
        reload(false);
        reloading = false;
    }
    if (flags & proto::status::kReload) reload(false);
    edited = (flags & proto::status::kEdited) != 0;
    if (namesChanged) {
        rebuildPresetMenus();
        namesChanged = false;
    }
    const bool nowLocked = (statusRecord[proto::status::kLockByte] & proto::status::kLocked) != 0;
    if (nowLocked != locked) setLockedState(nowLocked);

    if (pageView != nullptr) {
        PedalStatusView shown;
        shown.edited = edited;
        shown.modeSwitch = (flags & proto::status::kModeSwitch) != 0;
        shown.lampA = (flags & proto::status::kLampA) != 0;
        shown.lampB = (flags & proto::status::kLampB) != 0;
        shown.locked = locked;
        pageView->showStatus(shown);
        pageView->showMarkers({statusRecord[proto::status::kMarker1Byte],
                               proto::getU16(statusRecord.data() + proto::status::kMarker1Value)},
                              {statusRecord[proto::status::kMarker2Byte],
                               proto::getU16(statusRecord.data() + proto::status::kMarker2Value)});
        pageView->effectChanged();
    }
}

void TovanProcess::followModeSwitch(bool on) {
    // The switch is the pedal's own: the parameter and its button follow it,
    // and nothing is written back.
    const float value = on ? 1.0f : 0.0f;
    if (parameterManager->GetValue(kModeSwitch) == value) return;
    parameterManager->SetValue(kModeSwitch, value);
    ParameterChanged(kModeSwitch);
    FlushChanges();
    if (pageView != nullptr && pageView->hasControl(kModeSwitch))
        pageView->setControlValueQuiet(kModeSwitch, on ? 1 : 0);
}

void TovanProcess::idle() {
    // A pedal another program held is taken, and read, as soon as it is let go.
    if (anyHeldPedalFreed(attached) && connectPedal()) reloadLocked(true);
    if (closePanelRequested) {
        closePanelRequested = false;
        if (pageView != nullptr) pageView->closeModalPanel();
    }
    if (pageView != nullptr) pageView->commitPendingEdits();
    pollStatus();
}

std::span<const uint8_t> TovanProcess::firmwareImageToOffer() const {
    // The image the program carries, unless one was given (tests do).
    return firmwareImage.empty() ? firmware::carriedImage() : firmwareImage;
}
