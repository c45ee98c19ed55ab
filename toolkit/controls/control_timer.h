#pragma once

#include <cstdint>

// Timer ids for controls that run their own timers (flashing, pulsing). Each
// control takes one of its own, so stopping one never stops another's, and
// none meets the toolkit's hover timer (256).
uint32_t allocateControlTimerId();
