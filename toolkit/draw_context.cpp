#include "toolkit/draw_context.h"

#include "platform/trace.h"
#include "toolkit/toolkit.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace {

bool drawable(const CCBitmap& b) {
    return b.isValid() && b.getHasAlpha();
}

// A premultiplied ARGB32 cairo copy of part of a bitmap, so that scaling and PNG
// writing work for 24-bit and bottom-up images alike. The caller destroys it.
cairo_surface_t* cairoCopy(const CCBitmap& bitmap, CCRect part) {
    part = part.intersected(bitmap.bounds());
    if (part.isEmpty()) return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, part.width(), part.height());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_surface_flush(s);
    uint8_t* dst = cairo_image_surface_get_data(s);
    int dstStride = cairo_image_surface_get_stride(s);
    int bpp = bitmap.bytesPerPixel();
    for (int32_t y = 0; y < part.height(); ++y) {
        const uint8_t* src = bitmap.row(part.top + y) + static_cast<size_t>(part.left) * bpp;
        uint8_t* d = dst + static_cast<size_t>(y) * dstStride;
        for (int32_t x = 0; x < part.width(); ++x, src += bpp, d += 4) {
            d[0] = src[0];
            d[1] = src[1];
            d[2] = src[2];
            d[3] = bpp == 4 ? src[3] : 255;
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

inline uint8_t sat(uint32_t v) {
    return uint8_t(v > 255 ? 255 : v);
}

// Source-over of one premultiplied colour with alpha a onto a destination pixel.
inline void blendPixel(uint8_t* d, uint32_t b, uint32_t g, uint32_t r, uint32_t a) {
    if (a == 255) {
        d[0] = uint8_t(b);
        d[1] = uint8_t(g);
        d[2] = uint8_t(r);
        d[3] = 255;
        return;
    }
    uint32_t inv = 255 - a;
    d[0] = sat(((d[0] * inv) >> 8) + b);
    d[1] = sat(((d[1] * inv) >> 8) + g);
    d[2] = sat(((d[2] * inv) >> 8) + r);
    d[3] = sat(((d[3] * inv) >> 8) + a);
}

} // namespace

CCDrawContext::CCDrawContext(CCBitmap& surface) : target(&surface) {
    state.clip = surface.bounds();
    if (drawable(surface) && surface.isTopDown()) {
        cairoSurface =
            cairo_image_surface_create_for_data(surface.data(), CAIRO_FORMAT_ARGB32, surface.getWidth(),
                                                surface.getHeight(), surface.getStride());
        cairo = cairo_create(cairoSurface);
    }
}

std::unique_ptr<CCDrawContext> CCDrawContext::createOffscreen(int32_t width, int32_t height) {
    auto surface = std::make_unique<CCBitmap>();
    if (!surface->createSection(width, height)) return nullptr;
    auto ctx = std::make_unique<CCDrawContext>(*surface);
    ctx->ownedSurface = std::move(surface);
    return ctx;
}

CCDrawContext::~CCDrawContext() {
    if (cairo) cairo_destroy(cairo);
    if (cairoSurface) cairo_surface_destroy(cairoSurface);
}

void CCDrawContext::save() {
    stack.push_back(state);
}

void CCDrawContext::restore() {
    if (stack.empty()) {
        tovanTrace("draw context: restore without save\n");
        return;
    }
    state = stack.back();
    stack.pop_back();
}

void CCDrawContext::clip(CCRect rect) {
    state.clip = state.clip.intersected(rect);
}

void CCDrawContext::setClipRegion(CCRect rect) {
    state.clip = rect.intersected(target->bounds());
}

void CCDrawContext::drawBitmap(const CCBitmap& bitmap, CCPoint position, CCPoint sourcePoint, CCSize size) {
    if (!bitmap.isValid() || !drawable(*target)) return;
    int32_t w = size.width > 0 ? size.width : bitmap.getWidth();
    int32_t h = size.height > 0 ? size.height : bitmap.getHeight();
    CCRect dest = CCRect::fromSize(position, w, h);
    CCRect r = dest.intersected(state.clip);
    if (r.isEmpty()) return;
    CCPoint src{sourcePoint.x + (r.left - dest.left), sourcePoint.y + (r.top - dest.top)};
    bitmap.composeInto(*target, r, src, state.greyed, state.opacity, state.tint);
}

void CCDrawContext::drawFrame(const CCImageStrip& strip, CCPoint position, int32_t frameIndex) {
    CCRect f = strip.frameRect(frameIndex);
    if (f.isEmpty()) return;
    drawBitmap(strip, position, {f.left, f.top}, {f.width(), f.height()});
}

void CCDrawContext::setPen(CCColour colour, float width, CCPenStyle style) {
    penColour = colour;
    penWidth = width > 0 ? width : 1.0f;
    penStyle = style;
}

cairo_t* CCDrawContext::beginVector(bool antialias) {
    if (!cairo || state.clip.isEmpty()) return nullptr;
    cairo_surface_mark_dirty(cairoSurface);
    cairo_save(cairo);
    cairo_rectangle(cairo, state.clip.left, state.clip.top, state.clip.width(), state.clip.height());
    cairo_clip(cairo);
    cairo_set_antialias(cairo, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    // Pixel centres sit on whole coordinates, so a one-pixel line covers one row.
    cairo_translate(cairo, 0.5, 0.5);
    return cairo;
}

void CCDrawContext::endVector() {
    cairo_restore(cairo);
    cairo_surface_flush(cairoSurface);
}

void CCDrawContext::strokePath() {
    double alpha = penColour.alpha / 255.0 * state.opacity / 255.0;
    cairo_set_source_rgba(cairo, penColour.red / 255.0, penColour.green / 255.0, penColour.blue / 255.0,
                          alpha);
    cairo_set_line_width(cairo, penWidth);
    cairo_set_line_cap(cairo, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cairo, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cairo, 10.0);
    double w = penWidth;
    switch (penStyle) {
    case CCPenStyle::Dash: {
        double d[] = {3 * w, w};
        cairo_set_dash(cairo, d, 2, 0);
        break;
    }
    case CCPenStyle::Dot: {
        double d[] = {w, w};
        cairo_set_dash(cairo, d, 2, 0);
        break;
    }
    case CCPenStyle::DashDot: {
        double d[] = {3 * w, w, w, w};
        cairo_set_dash(cairo, d, 4, 0);
        break;
    }
    case CCPenStyle::DashDotDot: {
        double d[] = {3 * w, w, w, w, w, w};
        cairo_set_dash(cairo, d, 6, 0);
        break;
    }
    default:
        cairo_set_dash(cairo, nullptr, 0, 0);
        break;
    }
    if (penStyle == CCPenStyle::None) {
        cairo_new_path(cairo);
    } else {
        cairo_stroke(cairo);
    }
}

void CCDrawContext::lineTo(CCPoint p) {
    CCPoint from = penPosition;
    penPosition = p;
    if (!beginVector(false)) return;
    cairo_move_to(cairo, from.x, from.y);
    cairo_line_to(cairo, p.x, p.y);
    strokePath();
    endVector();
}

void CCDrawContext::drawLines(std::span<const CCPoint> points) {
    if (points.size() < 2 || !beginVector(!fastPlots())) return;
    cairo_move_to(cairo, points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cairo, points[i].x, points[i].y);
    strokePath();
    endVector();
}

void CCDrawContext::drawCurve(std::span<const CCPoint> points, float tension) {
    std::vector<CCPointF> f;
    f.reserve(points.size());
    for (CCPoint p : points)
        f.push_back({float(p.x), float(p.y)});
    drawCurve(std::span<const CCPointF>(f), tension);
}

void CCDrawContext::drawCurve(std::span<const CCPointF> p, float tension) {
    if (p.size() < 2 || !beginVector(!fastPlots())) return;
    // Each segment of a cardinal spline is a cubic Bezier whose control points
    // follow the tangent through the neighbouring points.
    size_t n = p.size();
    double k = tension / 3.0;
    cairo_move_to(cairo, p[0].x, p[0].y);
    for (size_t i = 0; i + 1 < n; ++i) {
        const CCPointF& p0 = p[i == 0 ? 0 : i - 1];
        const CCPointF& p1 = p[i];
        const CCPointF& p2 = p[i + 1];
        const CCPointF& p3 = p[i + 2 < n ? i + 2 : n - 1];
        cairo_curve_to(cairo, p1.x + k * (p2.x - p0.x), p1.y + k * (p2.y - p0.y), p2.x - k * (p3.x - p1.x),
                       p2.y - k * (p3.y - p1.y), p2.x, p2.y);
    }
    strokePath();
    endVector();
}

void CCDrawContext::fillRect(CCRect rect, CCColour colour) {
    if (!drawable(*target)) return;
    CCRect r = rect.intersected(state.clip);
    if (r.isEmpty()) return;
    uint32_t a = (colour.alpha * state.opacity + 127) / 255;
    if (a == 0) return;
    uint32_t b = a == 255 ? colour.blue : (colour.blue * a) >> 8;
    uint32_t g = a == 255 ? colour.green : (colour.green * a) >> 8;
    uint32_t red = a == 255 ? colour.red : (colour.red * a) >> 8;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        uint8_t* d = target->row(y) + static_cast<size_t>(r.left) * 4;
        for (int32_t x = r.left; x < r.right; ++x, d += 4)
            blendPixel(d, b, g, red, a);
    }
}

void CCDrawContext::blit(const CCDrawContext& source, CCRect sourceRect, CCPoint destination) {
    const CCBitmap& src = *source.target;
    if (!drawable(src) || !drawable(*target)) return;
    sourceRect = sourceRect.intersected(src.bounds());
    CCRect dest = CCRect::fromSize(destination, sourceRect.width(), sourceRect.height());
    CCRect r = dest.intersected(state.clip);
    if (r.isEmpty()) return;
    int32_t sx = sourceRect.left + (r.left - dest.left);
    int32_t sy = sourceRect.top + (r.top - dest.top);
    // memmove, and rows in the right order, so that a blit within one surface works.
    auto copyRow = [&](int32_t y) {
        std::memmove(target->row(y) + static_cast<size_t>(r.left) * 4,
                     src.row(sy + (y - r.top)) + static_cast<size_t>(sx) * 4,
                     static_cast<size_t>(r.width()) * 4);
    };
    if (&src == target && sy < r.top) {
        for (int32_t y = r.bottom - 1; y >= r.top; --y)
            copyRow(y);
    } else {
        for (int32_t y = r.top; y < r.bottom; ++y)
            copyRow(y);
    }
}

void CCDrawContext::stretchBlit(const CCDrawContext& source, CCRect sourceRect, CCRect destRect) {
    const CCBitmap& src = *source.target;
    if (!drawable(src) || !drawable(*target) || &src == target) return;
    if (sourceRect.isEmpty() || destRect.isEmpty()) return;
    CCRect r = destRect.intersected(state.clip);
    for (int32_t y = r.top; y < r.bottom; ++y) {
        int64_t sy = sourceRect.top + int64_t(y - destRect.top) * sourceRect.height() / destRect.height();
        sy = std::clamp<int64_t>(sy, 0, src.getHeight() - 1);
        uint8_t* d = target->row(y) + static_cast<size_t>(r.left) * 4;
        for (int32_t x = r.left; x < r.right; ++x, d += 4) {
            int64_t sx = sourceRect.left + int64_t(x - destRect.left) * sourceRect.width() / destRect.width();
            sx = std::clamp<int64_t>(sx, 0, src.getWidth() - 1);
            std::memcpy(d, src.row(int32_t(sy)) + sx * 4, 4);
        }
    }
}

void CCDrawContext::drawImageScaled(const CCBitmap& bitmap, CCRect destRect, CCRect sourceRect,
                                    CCInterpolation mode) {
    paintImage(bitmap, destRect, sourceRect, 255, mode);
}

void CCDrawContext::drawImageWithOpacity(const CCBitmap& bitmap, CCRect destRect, CCRect sourceRect,
                                         uint8_t opacity) {
    paintImage(bitmap, destRect, sourceRect, opacity, CCInterpolation::Bilinear);
}

void CCDrawContext::paintImage(const CCBitmap& bitmap, CCRect destRect, CCRect sourceRect, uint8_t opacity,
                               CCInterpolation mode) {
    if (destRect.isEmpty() || opacity == 0 || !bitmap.isValid()) return;
    cairo_surface_t* image = cairoCopy(bitmap, sourceRect);
    if (!image) return;
    if (beginVector(true)) {
        cairo_translate(cairo, -0.5, -0.5);
        cairo_rectangle(cairo, destRect.left, destRect.top, destRect.width(), destRect.height());
        cairo_clip(cairo);
        CCRect src = sourceRect.intersected(bitmap.bounds());
        cairo_translate(cairo, destRect.left, destRect.top);
        cairo_scale(cairo, double(destRect.width()) / src.width(), double(destRect.height()) / src.height());
        cairo_set_source_surface(cairo, image, 0, 0);
        cairo_filter_t filter = mode == CCInterpolation::Nearest    ? CAIRO_FILTER_NEAREST
                                : mode == CCInterpolation::Bilinear ? CAIRO_FILTER_BILINEAR
                                                                    : CAIRO_FILTER_BEST;
        cairo_pattern_set_filter(cairo_get_source(cairo), filter);
        cairo_paint_with_alpha(cairo, opacity / 255.0);
        endVector();
    }
    cairo_surface_destroy(image);
}

void CCDrawContext::drawCoverage(const uint8_t* mask, int32_t pitch, int32_t width, int32_t rows,
                                 CCPoint position, CCColour colour) {
    if (!mask || !drawable(*target)) return;
    CCRect dest = CCRect::fromSize(position, width, rows);
    CCRect r = dest.intersected(state.clip);
    if (r.isEmpty()) return;
    uint32_t base = (colour.alpha * state.opacity + 127) / 255;
    // Each coverage value's alpha, worked out once for the text colour's alpha
    // and the opacity: glyphs come one call each, nearly all with the same.
    struct AlphaTable {
        uint32_t base = UINT32_MAX;
        uint8_t alpha[256];
    };
    thread_local AlphaTable table;
    if (table.base != base) {
        for (uint32_t m = 0; m < 256; ++m)
            table.alpha[m] = static_cast<uint8_t>((m * base + 127) / 255);
        table.base = base;
    }
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const uint8_t* m = mask + static_cast<ptrdiff_t>(y - dest.top) * pitch + (r.left - dest.left);
        uint8_t* d = target->row(y) + static_cast<size_t>(r.left) * 4;
        for (int32_t x = r.left; x < r.right; ++x, ++m, d += 4) {
            if (*m == 0) continue;
            const uint32_t a = table.alpha[*m];
            if (a == 0) continue;
            if (a == 255) {
                blendPixel(d, colour.blue, colour.green, colour.red, 255);
            } else {
                blendPixel(d, (colour.blue * a) >> 8, (colour.green * a) >> 8, (colour.red * a) >> 8, a);
            }
        }
    }
}

bool CCDrawContext::writePng(const std::string& path) const {
    return writeBitmapPng(*target, path);
}

bool writeBitmapPng(const CCBitmap& bitmap, const std::string& path) {
    cairo_surface_t* s = cairoCopy(bitmap, bitmap.bounds());
    if (!s) return false;
    bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

namespace {

// The rows of `area` of the surface, one after the other.
void copyArea(const CCBitmap& surface, CCRect area, std::vector<uint8_t>& out) {
    const size_t rowBytes = static_cast<size_t>(area.width()) * 4;
    out.resize(rowBytes * static_cast<size_t>(area.height()));
    for (int32_t y = area.top; y < area.bottom; ++y)
        std::memcpy(out.data() + rowBytes * static_cast<size_t>(y - area.top),
                    surface.row(y) + static_cast<size_t>(area.left) * 4, rowBytes);
}

bool areaHolds(const CCBitmap& surface, CCRect area, const std::vector<uint8_t>& pixels) {
    const size_t rowBytes = static_cast<size_t>(area.width()) * 4;
    if (pixels.size() != rowBytes * static_cast<size_t>(area.height())) return false;
    for (int32_t y = area.top; y < area.bottom; ++y)
        if (std::memcmp(pixels.data() + rowBytes * static_cast<size_t>(y - area.top),
                        surface.row(y) + static_cast<size_t>(area.left) * 4, rowBytes) != 0)
            return false;
    return true;
}

} // namespace

void CCDrawMemo::draw(CCDrawContext& ctx, CCRect area, std::vector<int32_t> key,
                      const std::function<void()>& paint) {
    copied = false;
    CCBitmap& surface = ctx.surface();
    area = area.intersected(surface.bounds());
    if (area.isEmpty() || !surface.isValid() || !surface.getHasAlpha() ||
        ctx.clipRect().intersected(area) != area) {
        paint();
        return;
    }
    if (valid && area == memoArea && key == memoKey && areaHolds(surface, area, before)) {
        const size_t rowBytes = static_cast<size_t>(area.width()) * 4;
        for (int32_t y = area.top; y < area.bottom; ++y)
            std::memcpy(surface.row(y) + static_cast<size_t>(area.left) * 4,
                        after.data() + rowBytes * static_cast<size_t>(y - area.top), rowBytes);
        copied = true;
        return;
    }
    copyArea(surface, area, before);
    {
        CCDrawStateSaver saver(ctx);
        ctx.clip(area);
        paint();
    }
    copyArea(surface, area, after);
    memoArea = area;
    memoKey = std::move(key);
    valid = true;
}
