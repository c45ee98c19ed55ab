#pragma once

#include <cstdint>
#include <span>

#include "link/link_state.h"

class PedalExchange;

// The pedal's side of a firmware update: the offer that falls due once a
// connection has been read whole, the image to offer (the one given, else
// the one the program carries), and putting the pedal into update mode. The
// offer, the updater and what the player is told are the editor's
// (asking::checkFirmware, with link/firmware_update.h). Talks to the pedal
// through the exchange.
class PedalFirmware {
public:
    PedalFirmware(LinkState& state, PedalExchange& exchange);

    bool enterUpdateMode();
    bool checkPending() const { return state.firmwareCheck; }
    // Takes the due offer: true once after each connection read whole.
    bool takeCheck();
    std::span<const uint8_t> imageToOffer() const;
    void setImage(std::span<const uint8_t> newImage) { image = newImage; }

private:
    LinkState& state;
    PedalExchange& exchange;
    std::span<const uint8_t> image;
};
