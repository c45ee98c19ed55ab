#pragma once

#include "platform/resources.h"

#include <cstdint>
#include <span>

// The program's own resources, generated at build time: images by number, the
// built-in font (font 1 regular, font 2 bold) and the firmware image (data 1).
const ResourceModule& tovanProgramResources();

// The firmware image the editor carries (version 1.5.0), byte for byte.
constexpr uint32_t kFirmwareImageSize = 106552;
constexpr int32_t kFirmwareImageId = 1;
std::span<const uint8_t> tovanFirmwareImage();
