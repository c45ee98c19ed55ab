#pragma once

// Picks the HID back end the way the editor and tovan-cli do: from TOVAN_PEDAL.
//   usb (or unset)       real pedals through hidapi
//   sim, sim:N           N simulated pedals in this process (default 1)
//   virtual, virtual:DIR pedals served on the virtual bus

#include "platform/hid_backend.h"

#include <string>

namespace tovan {

// nullptr (with a trace) for a choice it does not know.
std::unique_ptr<HidBackend> createHidBackend(const std::string& choice);

// createHidBackend with TOVAN_PEDAL, or "usb" when it is unset.
std::unique_ptr<HidBackend> createHidBackendFromEnvironment();

} // namespace tovan
