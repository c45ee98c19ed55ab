// The desktop icons the build draws: every hicolor size, read back from the
// PNG files that get installed.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

const int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
const char* const kIcons[] = {"apps/tovan", "mimetypes/application-x-tovan-preset",
                              "mimetypes/application-x-tovan-backup"};

struct SurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceFree>;

Surface loadIcon(int size, const std::string& icon) {
    const std::string path = std::string(TOVAN_ICON_DIR) + "/" + std::to_string(size) + "x" +
                             std::to_string(size) + "/" + icon + ".png";
    return Surface(cairo_image_surface_create_from_png(path.c_str()));
}

struct Argb {
    int a, r, g, b;
};

Argb pixel(cairo_surface_t* s, int x, int y) {
    const uint8_t* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
    return {int(p >> 24), int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)};
}

double opaqueShare(cairo_surface_t* s) {
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    int opaque = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            opaque += pixel(s, x, y).a == 255;
    return double(opaque) / (w * h);
}

TEST(DesktopIcons, EverySizeIsASquareShapeOnATransparentGround) {
    for (int size : kSizes) {
        for (const char* icon : kIcons) {
            SCOPED_TRACE(std::to_string(size) + " " + icon);
            Surface s = loadIcon(size, icon);
            ASSERT_EQ(cairo_surface_status(s.get()), CAIRO_STATUS_SUCCESS);
            ASSERT_EQ(cairo_image_surface_get_format(s.get()), CAIRO_FORMAT_ARGB32);
            ASSERT_EQ(cairo_image_surface_get_width(s.get()), size);
            ASSERT_EQ(cairo_image_surface_get_height(s.get()), size);
            for (int x : {0, size - 1})
                for (int y : {0, size - 1})
                    EXPECT_EQ(pixel(s.get(), x, y).a, 0) << "corner " << x << "," << y;
            EXPECT_EQ(pixel(s.get(), size / 2, size / 2).a, 255);
            // Drawn to fill the square at every size, with a margin round it.
            const double share = opaqueShare(s.get());
            EXPECT_GT(share, 0.35);
            EXPECT_LT(share, 0.9);
        }
    }
}

TEST(DesktopIcons, TheEditorsIconIsDrawnInTheHousePalette) {
    Surface s = loadIcon(256, "apps/tovan");
    ASSERT_EQ(cairo_surface_status(s.get()), CAIRO_STATUS_SUCCESS);
    // The cream mark in the middle, the amber lamp below the treadle.
    const Argb mark = pixel(s.get(), 128, 128);
    EXPECT_EQ(mark.r, 255);
    EXPECT_EQ(mark.g, 250);
    EXPECT_EQ(mark.b, 208);
    const Argb lamp = pixel(s.get(), 128, 212);
    EXPECT_EQ(lamp.a, 255);
    EXPECT_EQ(lamp.r, 255);
    EXPECT_NEAR(lamp.g, 170, 8);
    EXPECT_LT(lamp.b, 80);
    // The body beside the treadle: a dark warm brown.
    const Argb body = pixel(s.get(), 52, 128);
    EXPECT_EQ(body.a, 255);
    EXPECT_LT(body.r, 80);
    EXPECT_GT(body.r, body.b);
    EXPECT_GE(body.g, body.b);
}

TEST(DesktopIcons, ABackupLooksLikeAStackOfPresets) {
    for (int size : {16, 48, 256}) {
        SCOPED_TRACE(size);
        Surface preset = loadIcon(size, "mimetypes/application-x-tovan-preset");
        Surface backup = loadIcon(size, "mimetypes/application-x-tovan-backup");
        ASSERT_EQ(cairo_surface_status(preset.get()), CAIRO_STATUS_SUCCESS);
        ASSERT_EQ(cairo_surface_status(backup.get()), CAIRO_STATUS_SUCCESS);
        // Left of the front page, the pages behind it show only on the backup.
        const int x = size * 9 / 64, y = size * 30 / 64;
        EXPECT_EQ(pixel(preset.get(), x, y).a, 0);
        EXPECT_EQ(pixel(backup.get(), x, y).a, 255);
    }
}

} // namespace
