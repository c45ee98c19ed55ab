#pragma once

#include "toolkit/page_object.h"

// A page: a node with an id and an optional background bitmap that it draws with
// its top-left corner at the window's origin, before its own drawPage.
class CCPage : public CCPageObject {
public:
    CCPage(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t pageId = 0,
           int32_t bitmapId = 0);

    void boundsChanged() override { layout(); }
    void draw(CCDrawContext& ctx) override;

    // Builds the page's contents; called after insertion and after each move.
    virtual void layout() {}
    virtual void drawPage(CCDrawContext& /*ctx*/) {}

    int32_t getPageId() const { return pageId; }
    int32_t getBitmapId() const { return bitmapId; }

private:
    int32_t pageId = 0;
    int32_t bitmapId = 0;
};
