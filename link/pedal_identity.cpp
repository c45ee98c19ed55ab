#include "link/pedal_identity.h"

#include <algorithm>
#include <cstdio>

#include "link/tovan_process.h"
#include "model/pedal_parameters.h"

using namespace tovan;

PedalIdentity::PedalIdentity(TovanProcess& process, LinkState& state) : process(process), state(state) {}

void PedalIdentity::read() {
    PedalExchange& exchange = process.exchange();
    if (const auto versions = exchange.request(proto::kGroupDevice, proto::device::kVersions)) {
        std::copy_n(versions->begin(), 3, state.firmwareVersion.begin());
        std::copy_n(versions->begin() + 3, 3, state.secondVersion.begin());
    }
    if (const auto identity = exchange.request(proto::kGroupDevice, proto::device::kUniqueId)) {
        state.uniqueIdText.fill(0);
        for (size_t i = 0; i < 12; ++i)
            std::snprintf(state.uniqueIdText.data() + 2 * i, 3, "%02X", (*identity)[4 + i]);
    }
    if (const auto name = exchange.request(proto::kGroupDevice, proto::device::kName))
        process.parameters()->SetData(kDeviceName, name->data());
}
