#pragma once

#include "platform/resources.h"
#include "toolkit/bitmap.h"

#include <cstdint>
#include <span>

// Process-wide start and stop of the toolkit's pixel services: the bitmap
// registry, the font cache with its FreeType library and the list of extra
// resource modules. Counted: only the first start and the last stop act.
void toolkitStart();
void toolkitStop();
bool toolkitRunning();

// Where the shared bitmap font comes from: the registry image strip `bitmapId`
// cut into frames `frameWidth` wide, the first frame showing `firstChar`.
struct BitmapFontLayout {
    int32_t bitmapId = 0;
    int32_t frameWidth = 0;
    int32_t firstChar = 32;
};
using BitmapFontHook = bool (*)(BitmapFontLayout& layout);

// Kind 0 takes the pixel-decoding hook; kinds 1 and 2 take the bitmap-font hook.
// A hook of the wrong kind is refused (false). A null function clears the hook.
bool setToolkitHook(int kind, PixelDecodeHook hook);
bool setToolkitHook(int kind, BitmapFontHook hook);
PixelDecodeHook pixelDecodeHook();
BitmapFontHook bitmapFontHook();

// The program's own resources, searched after every module added below. Set once
// at start-up by the program (its generated table); it outlives start and stop.
void setProgramResources(const ResourceModule* module);
// Extra modules searched, in the order added, before the program's own.
void addResourceModule(const ResourceModule* module);
// The first resource of that type and number in the search order; empty if none.
std::span<const uint8_t> findResource(ResourceType type, int32_t id);

// The toolkit-wide smoothing switch: when on ("fast plots"), lines and curves are
// drawn without anti-aliasing, which is quicker and crisper on slow machines.
void setFastPlots(bool on);
bool fastPlots();
