// Composition of a whole page against the cheapest possible frame: one memcpy of
// the 640 x 650 composition surface.
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/palette.h"
#include "toolkit/toolkit.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kPageWidth = 640;
constexpr int32_t kPageHeight = 650;

// What the main page holds when one filter panel shows: the body, 30 knobs,
// a dozen tinted buttons and six lamps.
struct Page {
    Page() {
        toolkitStart();
        setProgramResources(&tovanProgramResources());
        ctx = CCDrawContext::createOffscreen(kPageWidth, kPageHeight);
        body = acquireBitmap(resid::kPageBody);
        knob = acquireStrip(resid::kKnobStrip, resid::kKnobFrameWidth);
        for (int32_t id :
             {resid::kDeleteButton, resid::kStoreButton, resid::kDiscardButton, resid::kFileButton,
              resid::kStepDown, resid::kStepUp, resid::kSwapButton, resid::kSwitchButton, resid::kSwapButton,
              resid::kSwitchButton, resid::kFileButton, resid::kStepUp}) {
            buttons.push_back(acquireBitmap(id));
        }
        for (int i = 0; i < 6; ++i)
            lamps.push_back(acquireStripByCount(i % 2 ? resid::kLamp : resid::kModeLamp, 2));
        font = getFont();
    }
    ~Page() {
        releaseBitmap(body);
        releaseBitmap(knob);
        for (CCBitmap* b : buttons)
            releaseBitmap(b);
        for (CCImageStrip* l : lamps)
            releaseBitmap(l);
        ctx.reset();
        setProgramResources(nullptr);
        toolkitStop();
    }

    CCPoint knobPosition(int i) const { return {20 + (i % 10) * 60, 100 + (i / 10) * 150}; }

    void compose(bool withText) {
        ctx->drawBitmap(*body, {0, 0});
        for (int i = 0; i < 30; ++i) {
            CCPoint at = knobPosition(i);
            ctx->drawFrame(*knob, at, (i * 7) % resid::kKnobFrames);
            if (withText)
                font->drawText(*ctx, std::to_string(i * 3), {at.x - 8, at.y + 30, at.x + 40, at.y + 44}, 2);
        }
        for (size_t i = 0; i < buttons.size(); ++i) {
            CCDrawStateSaver saver(*ctx);
            ctx->setTint(palette::tintOf(palette::kAmber));
            ctx->drawBitmap(*buttons[i], {20 + int32_t(i) * 50, 40});
        }
        for (size_t i = 0; i < lamps.size(); ++i)
            ctx->drawFrame(*lamps[i], {400 + int32_t(i) * 20, 610}, int(i % 2));
    }

    std::unique_ptr<CCDrawContext> ctx;
    CCBitmap* body = nullptr;
    CCImageStrip* knob = nullptr;
    std::vector<CCBitmap*> buttons;
    std::vector<CCImageStrip*> lamps;
    CCFont* font = nullptr;
};

void BM_MemcpyFrame(benchmark::State& state) {
    const size_t bytes = size_t(kPageWidth) * kPageHeight * 4;
    std::vector<uint8_t> src(bytes, 0x5A), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_MemcpyFrame);

void BM_ComposePage(benchmark::State& state) {
    Page page;
    for (auto _ : state) {
        page.compose(false);
        benchmark::DoNotOptimize(page.ctx->surface().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComposePage);

void BM_ComposePageWithValueTexts(benchmark::State& state) {
    Page page;
    for (auto _ : state) {
        page.compose(true);
        benchmark::DoNotOptimize(page.ctx->surface().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComposePageWithValueTexts);

// One knob after a value change: its rectangle of the body, then the new frame.
void BM_RedrawOneKnob(benchmark::State& state) {
    Page page;
    page.compose(false);
    CCPoint at = page.knobPosition(4);
    int frame = 0;
    for (auto _ : state) {
        CCDrawStateSaver saver(*page.ctx);
        page.ctx->clip(CCRect::fromSize(at, 32, 34));
        page.ctx->drawBitmap(*page.body, {0, 0});
        page.ctx->drawFrame(*page.knob, at, frame++ % resid::kKnobFrames);
        benchmark::DoNotOptimize(page.ctx->surface().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RedrawOneKnob);

} // namespace
