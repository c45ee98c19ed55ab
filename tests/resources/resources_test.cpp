#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override {
        toolkitStart();
        setProgramResources(&tovanProgramResources());
    }
    void TearDown() override {
        setProgramResources(nullptr);
        toolkitStop();
    }
};

TEST_F(ProgramResources, EveryImageHasTheSizeItsControlsNeed) {
    struct Expect {
        int32_t id;
        CCSize size;
        bool alpha;
    };
    const Expect images[] = {
        {resid::kPageBody, {640, 650}, true},
        {resid::kLamp, {24, 12}, true},
        {resid::kModeLamp, {32, 16}, true},
        {resid::kEditedLamp, {24, 12}, true},
        {resid::kDeleteButton, {36, 16}, true},
        {resid::kStoreButton, {36, 16}, true},
        {resid::kDiscardButton, {36, 16}, true},
        {resid::kUndoButton, {32, 16}, true},
        {resid::kRedoButton, {32, 16}, true},
        {resid::kCompareButton, {38, 16}, true},
        {resid::kFileButton, {20, 16}, true},
        {resid::kStepDown, {16, 16}, true},
        {resid::kStepUp, {16, 16}, true},
        {resid::kSwapButton, {18, 12}, true},
        {resid::kSwitchButton, {24, 12}, true},
        {resid::kCursorButtonImage, {24, 24}, true},
        {resid::kCursorLinearImage, {24, 24}, true},
        {resid::kCursorCircularImage, {24, 24}, true},
    };
    for (const Expect& e : images) {
        CCBitmap* b = acquireBitmap(e.id);
        ASSERT_NE(b, nullptr) << e.id;
        EXPECT_EQ((CCSize{b->getWidth(), b->getHeight()}), e.size) << e.id;
        EXPECT_EQ(b->getHasAlpha(), e.alpha) << e.id;
        releaseBitmap(b);
    }
    CCImageStrip* knob = acquireStrip(resid::kKnobStrip, resid::kKnobFrameWidth);
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->getFrameCount(), resid::kKnobFrames);
    EXPECT_EQ(bitmapSize(resid::kKnobStrip), (CCSize{32, 34}));
    // Each frame differs from the last: the pointer turns all the way.
    EXPECT_NE(knob->pixelAt(16 - 7, 22), knob->pixelAt(32 * 63 + 16 - 7, 22));
    releaseBitmap(knob);
}

TEST_F(ProgramResources, PageBodyIsCutAlongMagentaCorners) {
    CCBitmap* body = acquireBitmap(resid::kPageBody);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->pixelAt(0, 0), (CCPixel{255, 0, 255, 255}));
    EXPECT_EQ(body->pixelAt(639, 649), (CCPixel{255, 0, 255, 255}));
    CCPixel inside = body->pixelAt(320, 20);
    EXPECT_LT(inside.red, 90);
    EXPECT_GT(inside.red, inside.blue); // warm
    releaseBitmap(body);
}

TEST_F(ProgramResources, FirmwareImageCarriesTheMakersHeader) {
    std::span<const uint8_t> image = tovanFirmwareImage();
    ASSERT_EQ(image.size(), kFirmwareImageSize);
    EXPECT_EQ(std::memcmp(image.data(), "PLAVIKFW", 8), 0);
    EXPECT_EQ(image[12] | image[13] << 8, 0x231C);
    EXPECT_EQ(image[14] | image[15] << 8, 0x8002);
    EXPECT_EQ(std::memcmp(image.data() + 16, "Tovan\0\0\0", 8), 0);
    EXPECT_EQ(image[47], 0);
    const uint8_t version[4] = {1, 1, 5, 0};
    EXPECT_EQ(std::memcmp(image.data() + 48, version, 4), 0);
    uint32_t length = image[52] | image[53] << 8 | image[54] << 16 | uint32_t(image[55]) << 24;
    EXPECT_EQ(length, kFirmwareImageSize - 56);
}

TEST_F(ProgramResources, BothFacesOfTheBuiltInFontOpen) {
    CCFontDescriptor bold;
    bold.style[0] = 1;
    CCFont* regular = getFont();
    CCFont* heavy = getFont(bold);
    ASSERT_NE(regular, nullptr);
    ASSERT_NE(heavy, nullptr);
    EXPECT_GT(heavy->textWidth("Tovan Wah"), regular->textWidth("Tovan Wah"));
}

// Not a check: a sheet of the art for people to look at (test-artefacts).
TEST_F(ProgramResources, ContactSheet) {
    auto ctx = CCDrawContext::createOffscreen(640, 650);
    ASSERT_TRUE(ctx);
    CCBitmap* body = acquireBitmap(resid::kPageBody);
    CCImageStrip* knob = acquireStrip(resid::kKnobStrip, resid::kKnobFrameWidth);
    ASSERT_TRUE(body && knob);
    ctx->drawBitmap(*body, {0, 0});
    CCFont* font = getFont();
    CCFontDescriptor titleFont;
    titleFont.size = 16;
    titleFont.style[0] = 1;
    getFont(titleFont)->drawText(*ctx, "TOVAN", {20, 48, 300, 74}, kAlignLeft);
    const char* names[] = {"Level", "Q", "Mix", "Drive", "Gain", "Rate", "Depth", "Shape"};
    for (int k = 0; k < 8; ++k) {
        CCPoint at{40 + 70 * k, 110};
        ctx->drawFrame(*knob, at, k * (resid::kKnobFrames - 1) / 7);
        font->drawText(*ctx, names[k], {at.x - 14, at.y + 34, at.x + 46, at.y + 50}, kAlignCentre);
    }
    // Every frame, small, to see the turn.
    for (int f = 0; f < resid::kKnobFrames; ++f)
        ctx->drawFrame(*knob, {20 + (f % 16) * 37, 310 + (f / 16) * 38}, f);
    const int32_t buttons[] = {resid::kDeleteButton, resid::kStoreButton, resid::kDiscardButton,
                               resid::kFileButton,   resid::kStepDown,    resid::kStepUp,
                               resid::kSwapButton,   resid::kSwitchButton};
    int32_t x = 20;
    for (int32_t id : buttons) {
        CCBitmap* b = acquireBitmap(id);
        ctx->drawBitmap(*b, {x, 240});
        CCDrawStateSaver saver(*ctx);
        ctx->setTint({255, 170, 40, 0});
        ctx->drawBitmap(*b, {x, 262});
        x += b->getWidth() + 10;
        releaseBitmap(b);
    }
    const int32_t lamps[] = {resid::kLamp, resid::kModeLamp, resid::kEditedLamp};
    for (int32_t id : lamps) {
        CCImageStrip* lamp = acquireStripByCount(id, 2);
        ctx->drawFrame(*lamp, {x, 240}, 0);
        ctx->drawFrame(*lamp, {x, 262}, 1);
        x += lamp->getFrameWidth() + 10;
        releaseBitmap(lamp);
    }
    font->drawText(*ctx, "Export Preset", {20, 610, 200, 630}, kAlignLeft);
    font->drawText(*ctx, "Sweep 10 Hz - 4000 Hz", {200, 610, 620, 630}, kAlignRight);
    EXPECT_TRUE(ctx->writePng(std::string(TOVAN_TEST_OUTPUT_DIR) + "/resources_contact_sheet.png"));
    releaseBitmap(knob);
    releaseBitmap(body);
}

} // namespace
