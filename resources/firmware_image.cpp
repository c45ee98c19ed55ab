#include "resources/resources.h"

std::span<const uint8_t> tovanFirmwareImage() {
    return tovanProgramResources().find(ResourceType::Data, kFirmwareImageId);
}
