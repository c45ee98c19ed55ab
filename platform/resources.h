#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// A read-only set of resources found by type and number, standing in for the
// resources a program carries inside its executable. The program's own images,
// cursors, fonts and data blocks are generated at build time into one such module;
// the toolkit searches modules by number without knowing who made them.
enum class ResourceType : uint16_t { Bitmap = 2, Cursor = 1, Font = 8, Data = 10 };

struct ResourceEntry {
    ResourceType type;
    int32_t id;
    const uint8_t* data;
    uint32_t size;
};

struct ResourceModule {
    std::span<const ResourceEntry> entries;

    // The bytes of the entry with this type and number; empty when there is none.
    std::span<const uint8_t> find(ResourceType type, int32_t id) const {
        for (const ResourceEntry& e : entries) {
            if (e.type == type && e.id == id) return {e.data, e.size};
        }
        return {};
    }
};
