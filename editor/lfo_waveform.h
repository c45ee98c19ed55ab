#pragma once

#include "editor/editor_tags.h"
#include "toolkit/controls/control.h"
#include "toolkit/draw_context.h"

#include <cstdint>
#include <memory>
#include <span>

// A small display of one filter's LFO wave shape: two periods of the shape as a
// cream line inside an olive frame. It takes no input; the main page sets the
// shape and the trapezoid's rise and fall, then invalidates it.
class CLFOWaveform : public CControl {
public:
    // Shape codes (the page maps the shape parameter's values onto them).
    enum Shape : int32_t {
        kRandom = 0,
        kSine = 1,
        kTriangle = 2,
        kSquare = 3,
        kSawUp = 4,
        kSawDown = 5,
        kTrapezoid = 6,
    };
    static constexpr int32_t kDisplayTag = etag::kDisplay;
    // Shape code for each value of the shape parameter ("Sine" ... "Random").
    static int32_t shapeForParameter(int32_t value);

    explicit CLFOWaveform(CCRect rect);

    void setShape(int32_t code) { shape = code; }
    int32_t getShape() const { return shape; }
    // Rise and fall in percent of a period; kept within 0-100 together.
    void setTrapezoid(int32_t rise, int32_t fall);
    int32_t getRise() const { return rise; }
    int32_t getFall() const { return fall; }

    // Recomputes the line from the current fields and returns it (page pixels).
    std::span<const CCPoint> computePoints();
    // The template of the last computed line (x in percent of a period, y in pixels).
    std::span<const CCPoint> templatePoints() const { return {templ.get(), size_t(templateCount)}; }
    const CCRect& getInnerRect() const { return inner; }

    void boundsChanged() override;
    void drawContent(CCDrawContext& ctx) override;
    bool takesPresses() const override { return false; }

private:
    void allocate();
    int32_t buildTemplate(int32_t top, int32_t bottom);

    std::unique_ptr<CCPoint[]> points;
    CCDrawMemo memo;
    std::unique_ptr<CCPoint[]> templ;
    CCRect inner;
    int32_t capacity = 0;
    int32_t pointCount = 0;
    int32_t periods = 2;
    int32_t shape = kRandom;
    int32_t rise = 10;
    int32_t fall = 10;
    int32_t allocated = 0;
    int32_t templateCount = 0;
};
