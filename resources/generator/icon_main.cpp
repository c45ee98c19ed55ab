// Build-time generator of the desktop icons: writes the editor's icon and its
// file types' icons as PNG files in a hicolor theme tree, ready to install.
//
// usage: tovan_icon_gen OUTDIR
//   OUTDIR/hicolor/NxN/apps/tovan.png
//   OUTDIR/hicolor/NxN/mimetypes/application-x-tovan-preset.png
//   OUTDIR/hicolor/NxN/mimetypes/application-x-tovan-backup.png
#include "icon.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

bool writePng(cairo_surface_t* surface, const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const bool ok = !error && cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path theme = std::filesystem::path(argv[1]) / "hicolor";
    bool ok = true;
    for (int size : kIconSizes) {
        const std::filesystem::path dir = theme / (std::to_string(size) + "x" + std::to_string(size));
        ok = writePng(appIcon(size), dir / "apps" / "tovan.png") && ok;
        ok = writePng(documentIcon(size, DocumentKind::Preset),
                      dir / "mimetypes" / "application-x-tovan-preset.png") &&
             ok;
        ok = writePng(documentIcon(size, DocumentKind::Backup),
                      dir / "mimetypes" / "application-x-tovan-backup.png") &&
             ok;
    }
    cairo_debug_reset_static_data();
    return ok ? 0 : 1;
}
