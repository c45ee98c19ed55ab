#include "toolkit/bitmap_registry.h"

#include "platform/trace.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_internal.h"

#include <array>
#include <memory>
#include <mutex>

namespace {

struct Slot {
    std::unique_ptr<CCBitmap> bitmap;
    int32_t id = 0;
    int32_t count = 0;
    bool isStrip = false;
};

struct Registry {
    std::array<Slot, kBitmapRegistrySlots> slots;
    uint16_t slotsInUse = 0;
    int32_t totalReferences = 0;
    bool keepLoaded = false;
};

std::mutex registryLock;
std::unique_ptr<Registry> registry;

// A loaded slot with that number; a kept-loaded slot with count 0 counts too.
Slot* findSlot(int32_t id, bool wantStrip) {
    for (Slot& s : registry->slots) {
        if (s.bitmap && s.id == id && (!wantStrip || s.isStrip)) return &s;
    }
    return nullptr;
}

Slot* emptySlot() {
    for (Slot& s : registry->slots) {
        if (!s.bitmap) return &s;
    }
    return nullptr;
}

bool loadResource(CCBitmap& bitmap, int32_t id, bool decode) {
    std::span<const uint8_t> data = findResource(ResourceType::Bitmap, id);
    if (data.empty()) return false;
    return bitmap.loadFromPackedDib(data, decode);
}

// Shared path of the three acquire operations; `cut` makes the strip's frames.
template <typename T, typename Cut>
T* acquire(int32_t id, bool wantStrip, Cut cut) {
    std::lock_guard lock(registryLock);
    if (!registry) {
        tovanTrace("bitmap registry: acquire %d before toolkitStart\n", id);
        return nullptr;
    }
    if (Slot* s = findSlot(id, wantStrip)) {
        ++s->count;
        ++registry->totalReferences;
        return static_cast<T*>(s->bitmap.get());
    }
    Slot* s = emptySlot();
    if (!s) {
        tovanTrace("bitmap registry: all %d slots in use, %d not loaded\n", kBitmapRegistrySlots, id);
        return nullptr;
    }
    auto bitmap = std::make_unique<T>();
    if (!loadResource(*bitmap, id, true)) {
        tovanTrace("bitmap registry: bitmap %d could not be loaded\n", id);
        return nullptr;
    }
    cut(*bitmap);
    T* result = bitmap.get();
    s->bitmap = std::move(bitmap);
    s->id = id;
    s->count = 1;
    s->isStrip = wantStrip;
    ++registry->slotsInUse;
    ++registry->totalReferences;
    return result;
}

} // namespace

void bitmapRegistryCreate() {
    std::lock_guard lock(registryLock);
    registry = std::make_unique<Registry>();
}

void bitmapRegistryDestroy() {
    std::lock_guard lock(registryLock);
    if (registry && registry->totalReferences > 0) {
        tovanTrace("bitmap registry: %d references still held at stop\n", registry->totalReferences);
    }
    registry.reset();
}

CCBitmap* acquireBitmap(int32_t id) {
    return acquire<CCBitmap>(id, false, [](CCBitmap&) {});
}

CCImageStrip* acquireStrip(int32_t id, int32_t frameWidth) {
    return acquire<CCImageStrip>(id, true, [&](CCImageStrip& s) { s.setFrameWidth(frameWidth); });
}

CCImageStrip* acquireStripByCount(int32_t id, int32_t frameCount) {
    return acquire<CCImageStrip>(id, true, [&](CCImageStrip& s) { s.setFrameCount(frameCount); });
}

int32_t releaseBitmap(const CCBitmap* bitmap) {
    std::lock_guard lock(registryLock);
    if (!registry || !bitmap) return 0;
    for (Slot& s : registry->slots) {
        if (s.bitmap.get() != bitmap) continue;
        if (s.count <= 0) {
            tovanTrace("bitmap registry: bitmap %d released more often than acquired\n", s.id);
            return 0;
        }
        --s.count;
        --registry->totalReferences;
        if (s.count == 0 && !registry->keepLoaded) {
            s = Slot{};
            --registry->slotsInUse;
        }
        return s.count;
    }
    tovanTrace("bitmap registry: release of a bitmap it does not hold\n");
    return 0;
}

CCSize bitmapSize(int32_t id) {
    std::lock_guard lock(registryLock);
    if (!registry) return {};
    if (Slot* s = findSlot(id, true)) {
        auto* strip = static_cast<CCImageStrip*>(s->bitmap.get());
        return {strip->getFrameWidth(), strip->getHeight()};
    }
    if (Slot* s = findSlot(id, false)) return {s->bitmap->getWidth(), s->bitmap->getHeight()};
    CCBitmap probe;
    if (!loadResource(probe, id, false)) return {};
    return {probe.getWidth(), probe.getHeight()};
}

void setKeepLoaded(bool on) {
    std::lock_guard lock(registryLock);
    if (registry) registry->keepLoaded = on;
}

int32_t releaseAll() {
    std::lock_guard lock(registryLock);
    if (!registry) return 0;
    // Bitmaps still held stay: deleting them would leave their holders dangling.
    int32_t held = 0;
    for (Slot& s : registry->slots) {
        if (!s.bitmap) continue;
        if (s.count > 0) {
            ++held;
            continue;
        }
        s = Slot{};
        --registry->slotsInUse;
    }
    return held;
}

int32_t bitmapReferenceCount(int32_t id) {
    std::lock_guard lock(registryLock);
    if (!registry) return 0;
    int32_t total = 0;
    for (const Slot& s : registry->slots) {
        if (s.bitmap && s.id == id) total += s.count;
    }
    return total;
}

int32_t bitmapSlotsInUse() {
    std::lock_guard lock(registryLock);
    return registry ? registry->slotsInUse : 0;
}

int32_t bitmapTotalReferences() {
    std::lock_guard lock(registryLock);
    return registry ? registry->totalReferences : 0;
}
