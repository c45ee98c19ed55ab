#pragma once

#include <cairo.h>

// The desktop icons, drawn at any size in the house style: the editor's own
// icon (a wah pedal seen from above, its treadle marked with a "T") and the
// icons of its two file types (a page with the same mark; a backup is a stack
// of pages).
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

enum class DocumentKind { Preset, Backup };

cairo_surface_t* appIcon(int size);
cairo_surface_t* documentIcon(int size, DocumentKind kind);
