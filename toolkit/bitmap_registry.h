#pragma once

#include "toolkit/bitmap.h"

#include <cstdint>

// The process's bitmap registry: the program's images loaded by number and shared
// by reference count. Every operation takes the registry lock, so the fade thread
// may draw while the user-interface thread acquires. Valid between toolkitStart
// and toolkitStop; outside that every acquire yields none.
constexpr int kBitmapRegistrySlots = 1024;

// The bitmap with that number, loaded on first request; none when it is missing,
// cannot be decoded or every slot is taken. Each success must be released once.
CCBitmap* acquireBitmap(int32_t id);
// The same as an image strip cut by frame width, or by frame count.
CCImageStrip* acquireStrip(int32_t id, int32_t frameWidth);
CCImageStrip* acquireStripByCount(int32_t id, int32_t frameCount);
// Gives one reference back and returns how many remain. At 0 the bitmap is
// deleted unless keep-loaded is set. An unknown bitmap is traced and answered 0.
int32_t releaseBitmap(const CCBitmap* bitmap);
// The size of that image (of one frame for a loaded strip); 0 x 0 when it cannot be loaded.
CCSize bitmapSize(int32_t id);
// When set, bitmaps whose count falls to 0 stay loaded under their number and are
// handed out again by the next acquire.
void setKeepLoaded(bool on);
// Deletes every loaded bitmap that nobody holds; returns how many are still held.
int32_t releaseAll();

// Bookkeeping, for diagnostics and tests.
int32_t bitmapReferenceCount(int32_t id);
int32_t bitmapSlotsInUse();
int32_t bitmapTotalReferences();
