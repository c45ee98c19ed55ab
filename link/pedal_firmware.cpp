#include "link/pedal_firmware.h"

#include "link/firmware_update.h"
#include "link/pedal_exchange.h"

PedalFirmware::PedalFirmware(LinkState& state, PedalExchange& exchange) : state(state), exchange(exchange) {}

bool PedalFirmware::enterUpdateMode() {
    return exchange.write(tovan::proto::kGroupDevice, tovan::proto::device::kEnterUpdate, {});
}

bool PedalFirmware::takeCheck() {
    const bool due = state.firmwareCheck;
    state.firmwareCheck = false;
    return due;
}

std::span<const uint8_t> PedalFirmware::imageToOffer() const {
    // The image the program carries, unless one was given (tests do).
    return image.empty() ? firmware::carriedImage() : image;
}
