#pragma once

#include "toolkit/bitmap.h"
#include "toolkit/geometry.h"
#include "toolkit/palette.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

// Pen dash styles, numbered as the platform's pen styles are.
enum class CCPenStyle : int32_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, None = 5 };

// How scaled images are resampled.
enum class CCInterpolation : int32_t { Nearest = 0, Bilinear = 1, HighQuality = 2 };

struct CCPointF {
    float x = 0;
    float y = 0;
};

// What save() keeps and restore() brings back.
struct CCDrawState {
    CCRect clip;
    uint8_t opacity = 255;
    CCTint tint;
    bool greyed = false;
};

// Draws onto one premultiplied 32-bit surface (blue, green, red, alpha): bitmaps
// through the software compositor, lines, curves and scaled images through cairo
// on the same buffer. Carries the clip rectangle, opacity, tint and greyed look
// that the tree walk hands from parents to children.
class CCDrawContext {
public:
    // Draws on a 32-bit surface that the caller keeps alive and does not re-create
    // while the context exists. Vector drawing needs its rows top-down (sections are).
    explicit CCDrawContext(CCBitmap& surface);
    // A context with its own transparent surface of that size; none when the size is unusable.
    static std::unique_ptr<CCDrawContext> createOffscreen(int32_t width, int32_t height);
    ~CCDrawContext();
    CCDrawContext(const CCDrawContext&) = delete;
    CCDrawContext& operator=(const CCDrawContext&) = delete;

    CCBitmap& surface() { return *target; }
    const CCBitmap& surface() const { return *target; }

    // The state stack. Prefer CCDrawStateSaver, which cannot forget the restore.
    void save();
    void restore();
    size_t savedDepth() const { return stack.size(); }

    // Intersects the clip rectangle with rect.
    void clip(CCRect rect);
    // Replaces the clip rectangle (kept inside the surface).
    void setClipRegion(CCRect rect);
    CCRect clipRect() const { return state.clip; }
    uint8_t opacity() const { return state.opacity; }
    void setOpacity(uint8_t value) { state.opacity = value; }
    CCTint tint() const { return state.tint; }
    void setTint(CCTint value) { state.tint = value; }
    bool greyed() const { return state.greyed; }
    void setGreyed(bool on) { state.greyed = on; }
    int32_t overlayDepth() const { return overlay; }
    void setOverlayDepth(int32_t depth) { overlay = depth; }

    // Draws the bitmap (or `size` of it from sourcePoint) at position, clipped.
    // Opaque bitmaps at full opacity without tint or grey are copied straight.
    void drawBitmap(const CCBitmap& bitmap, CCPoint position, CCPoint sourcePoint = {}, CCSize size = {});
    // Draws one frame of a strip; an index past the last frame draws the last frame.
    void drawFrame(const CCImageStrip& strip, CCPoint position, int32_t frameIndex);

    void setPen(CCColour colour, float width = 1.0f, CCPenStyle style = CCPenStyle::Solid);
    void setBrush(CCColour colour) { brush = colour; }
    CCColour brushColour() const { return brush; }
    // One-pixel pen path without anti-aliasing; the end point is not drawn.
    void moveTo(CCPoint p) { penPosition = p; }
    void lineTo(CCPoint p);
    // A polyline with the pen: anti-aliased unless fast plots are switched on.
    void drawLines(std::span<const CCPoint> points);
    // A cardinal spline through the points (tension 0 gives straight segments).
    void drawCurve(std::span<const CCPoint> points, float tension);
    void drawCurve(std::span<const CCPointF> points, float tension);
    // Fills with the colour, blended when its alpha (or the context opacity) is below 255.
    void fillRect(CCRect rect, CCColour colour);
    void fillRect(CCRect rect) { fillRect(rect, brush); }

    // Copies pixels unblended from another context (or this one) into the clip.
    void blit(const CCDrawContext& source, CCRect sourceRect, CCPoint destination);
    void stretchBlit(const CCDrawContext& source, CCRect sourceRect, CCRect destRect);
    // Draws sourceRect of the bitmap scaled into destRect.
    void drawImageScaled(const CCBitmap& bitmap, CCRect destRect, CCRect sourceRect,
                         CCInterpolation mode = CCInterpolation::Bilinear);
    void drawImageWithOpacity(const CCBitmap& bitmap, CCRect destRect, CCRect sourceRect, uint8_t opacity);

    // Blends a coverage mask (one byte a pixel, `pitch` bytes a row) in the colour,
    // scaled by the context opacity, with its top-left at position. Text uses it.
    void drawCoverage(const uint8_t* mask, int32_t pitch, int32_t width, int32_t rows, CCPoint position,
                      CCColour colour);

    // Writes the surface to a PNG file (straight alpha); false on failure.
    bool writePng(const std::string& path) const;

private:
    cairo_t* beginVector(bool antialias);
    void endVector();
    void strokePath();
    void paintImage(const CCBitmap& bitmap, CCRect destRect, CCRect sourceRect, uint8_t opacity,
                    CCInterpolation mode);

    std::unique_ptr<CCBitmap> ownedSurface;
    CCBitmap* target;
    CCDrawState state;
    std::vector<CCDrawState> stack;
    int32_t overlay = 0;
    CCColour penColour = palette::kCream;
    float penWidth = 1.0f;
    CCPenStyle penStyle = CCPenStyle::Solid;
    CCColour brush = palette::kBlack;
    CCPoint penPosition;
    cairo_surface_t* cairoSurface = nullptr;
    cairo_t* cairo = nullptr;
};

// Saves the context's state for one scope and restores it on every way out.
class CCDrawStateSaver {
public:
    explicit CCDrawStateSaver(CCDrawContext& context) : ctx(context) { ctx.save(); }
    ~CCDrawStateSaver() { ctx.restore(); }
    CCDrawStateSaver(const CCDrawStateSaver&) = delete;
    CCDrawStateSaver& operator=(const CCDrawStateSaver&) = delete;

private:
    CCDrawContext& ctx;
};

// What one drawing did to a rectangle of a surface, kept so that it can be done
// again by copying. Drawing is deterministic: from the same pixels under the
// rectangle and the same key (whatever the drawing depends on besides them),
// it leaves the same pixels. For costly vector drawing (an antialiased line of
// many segments) that every whole-page compose repeats unchanged. The drawing
// must stay inside the rectangle; the memo is used only while the clip holds
// all of it, and otherwise drawn as usual.
class CCDrawMemo {
public:
    void draw(CCDrawContext& ctx, CCRect area, std::vector<int32_t> key, const std::function<void()>& paint);
    // Whether the last draw was a copy (for tests).
    bool lastWasCopy() const { return copied; }
    // Whether the last drawing was for this key, and the rectangle it was given.
    bool holdsKey(const std::vector<int32_t>& key) const { return valid && key == memoKey; }
    CCRect area() const { return memoArea; }

private:
    CCRect memoArea;
    std::vector<int32_t> memoKey;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;
    bool valid = false;
    bool copied = false;
};

// Writes any valid bitmap to a PNG file (straight alpha); false on failure.
bool writeBitmapPng(const CCBitmap& bitmap, const std::string& path);
