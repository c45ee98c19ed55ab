#pragma once

// Speaks to a SimPedal the way the editor does: header, then data or answer.

#include "link/protocol.h"
#include "sim/sim_pedal.h"

#include <initializer_list>

namespace tovan::sim::test {

inline proto::Payload bytes(std::initializer_list<int> values) {
    proto::Payload out{};
    size_t i = 0;
    for (int v : values)
        out[i++] = static_cast<uint8_t>(v);
    return out;
}

inline proto::Payload header(uint8_t direction, uint8_t group, uint16_t command,
                             std::array<uint8_t, 4> address = {}) {
    return proto::encodeHeader(proto::Header{direction, group, command, address});
}

inline proto::Payload request(SimPedal& pedal, uint8_t group, uint16_t command,
                              std::array<uint8_t, 4> address = {}) {
    proto::Payload answer{};
    pedal.handleOutputReport(header(proto::kRequest, group, command, address));
    pedal.fetchInputReport(answer);
    return answer;
}

inline void write(SimPedal& pedal, uint8_t group, uint16_t command, std::array<uint8_t, 4> address,
                  const proto::Payload& data) {
    pedal.handleOutputReport(header(proto::kWrite, group, command, address));
    pedal.handleOutputReport(data);
}

inline std::string text(const proto::Payload& payload, size_t from, size_t count) {
    std::string out;
    for (size_t i = from; i < from + count && payload[i] != 0; ++i)
        out += static_cast<char>(payload[i]);
    return out;
}

} // namespace tovan::sim::test
