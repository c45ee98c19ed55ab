#include "toolkit/toolkit.h"

#include "platform/trace.h"
#include "toolkit/toolkit_internal.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace {

std::mutex startLock;
int startCount = 0;

std::mutex moduleLock;
const ResourceModule* programModule = nullptr;
std::vector<const ResourceModule*> extraModules;

std::atomic<PixelDecodeHook> decodeHook{nullptr};
std::atomic<BitmapFontHook> fontHook{nullptr};
std::atomic<bool> fastPlotSwitch{false};

} // namespace

void toolkitStart() {
    std::lock_guard lock(startLock);
    if (startCount++ > 0) return;
    bitmapRegistryCreate();
    fontCacheCreate();
    std::lock_guard modules(moduleLock);
    extraModules.clear();
}

void toolkitStop() {
    std::lock_guard lock(startLock);
    if (startCount == 0) {
        tovanTrace("toolkitStop without toolkitStart\n");
        return;
    }
    if (--startCount > 0) return;
    // Fonts first: the shared bitmap font still holds a registry reference.
    fontCacheDestroy();
    bitmapRegistryDestroy();
    std::lock_guard modules(moduleLock);
    extraModules.clear();
}

bool toolkitRunning() {
    std::lock_guard lock(startLock);
    return startCount > 0;
}

bool setToolkitHook(int kind, PixelDecodeHook hook) {
    if (kind != 0) {
        tovanTrace("setToolkitHook: kind %d does not take a pixel-decoding hook\n", kind);
        return false;
    }
    decodeHook = hook;
    return true;
}

bool setToolkitHook(int kind, BitmapFontHook hook) {
    if (kind != 1 && kind != 2) {
        tovanTrace("setToolkitHook: kind %d does not take a bitmap-font hook\n", kind);
        return false;
    }
    fontHook = hook;
    return true;
}

PixelDecodeHook pixelDecodeHook() {
    return decodeHook;
}
BitmapFontHook bitmapFontHook() {
    return fontHook;
}

void setProgramResources(const ResourceModule* module) {
    std::lock_guard lock(moduleLock);
    programModule = module;
}

void addResourceModule(const ResourceModule* module) {
    if (!module) return;
    std::lock_guard lock(moduleLock);
    extraModules.push_back(module);
}

std::span<const uint8_t> findResource(ResourceType type, int32_t id) {
    std::lock_guard lock(moduleLock);
    for (const ResourceModule* m : extraModules) {
        if (auto data = m->find(type, id); !data.empty()) return data;
    }
    if (programModule) return programModule->find(type, id);
    return {};
}

void setFastPlots(bool on) {
    fastPlotSwitch = on;
}
bool fastPlots() {
    return fastPlotSwitch;
}
