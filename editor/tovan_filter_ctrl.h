#pragma once

#include "editor/editor_tags.h"
#include "toolkit/controls/control.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CCBitmap;
class CCDrawContext;

// One point of the filter display: a frequency in hertz and a height 0-100, or
// for the vowel points filter 1's and filter 2's frequency at one pedal end.
struct CCValuePair {
    float first = 0.0f;
    float second = 0.0f;
    friend bool operator==(const CCValuePair&, const CCValuePair&) = default;
};

// The filter response display. Shows both filters' heel and toe points as a
// sweep chart (frequency across, height up) or as a two-formant vowel chart,
// with a dotted path whose brightness follows each filter's sweep curve and the
// filters' live positions as markers. The user drags the points; the page feeds
// parameter values in through setPoint and copies dragged values back into its
// parameter controls when takeChanged says so. The display owns no parameters.
class CTovanFilterCtrl : public CControl {
public:
    // Point ids and set targets.
    enum : int32_t {
        kFilter1Heel = 1, // 1 both values, 2 frequency only, 3 height only
        kFilter1Toe = 4,  // 4, 5, 6 likewise
        kFilter2Heel = 7, // 7, 8, 9
        kFilter2Toe = 10, // 10, 11, 12
        kMarker1 = 13,
        kMarker2 = 14,
        kHeelVowel = 15,
        kToeVowel = 16,
    };
    enum ViewMode : int32_t { kSweepChart = 0, kVowelChart = 1 };
    static constexpr int32_t kDisplayTag = etag::kDisplay;
    static constexpr int32_t kCurveEntries = 129;
    using CurveTable = std::array<uint16_t, kCurveEntries>;

    // position: the control's top-left; plot: the plot rectangle inside the
    // background (right and bottom are the last pixels values may reach).
    CTovanFilterCtrl(CCPoint position, CCRect plot);
    ~CTovanFilterCtrl() override;

    // Clamps and stores a point (see the targets above); false when nothing
    // changed (unless forced) or the target is unknown.
    bool setPoint(int32_t target, float first, float second, bool force = false);
    // The pair of a handle (1, 4, 7, 10, 15, 16); (0, 0) for any other id.
    CCValuePair getPoint(int32_t id) const;
    // 0 sweep chart, 1 vowel chart. Clears every point: the page re-sends them.
    void setViewMode(int32_t mode);
    int32_t getViewMode() const { return viewMode; }
    // filter 0 or 1; code -17..17 (the taper: negative slow start, positive fast start).
    void setCurve(int32_t filter, int32_t code);
    // Which filters the chart draws (the mode switch plays one or both).
    struct Shown {
        bool filter1 = true;
        bool filter2 = true;
    };
    void setShown(Shown shown);
    // end 0 heel, 1 toe: set means filter 1 plays the upper formant at that end.
    void setOrientation(int32_t end, bool flag);
    bool getOrientation(int32_t end) const { return end == 0 ? heelOrientation != 0 : toeOrientation != 0; }
    // Vowel chart only: lets each end's filters play the formants that bring its
    // point nearest to a reference vowel.
    void updateVowelOrientation();
    // Whether the user dragged a point since the last call; clears the flag.
    bool takeChanged();
    // The live filter positions of the status poll (a frequency below 10 Hz hides
    // a marker); invalidates the display when a marker moved.
    bool setLivePositions(uint16_t frequency1, uint8_t height1, uint16_t frequency2, uint8_t height2);

    void setEnabled(bool on, uint8_t opacity = 0) override;
    // True over a handle that the mouse can take.
    bool hitTest(CCPoint point) const override;
    int32_t cursorAt(int32_t x, int32_t y) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    void drawContent(CCDrawContext& ctx) override;
    void boundsChanged() override;

    // The handle under a page point (nearest centre wins, the earlier on a tie); 0 for none.
    int32_t handleAt(CCPoint point) const;
    // Where a value lands in the plot, relative to the background.
    CCPoint sweepPixel(float first, float second) const;
    CCPoint vowelPixel(float fa, float fb, bool orientation) const;
    // Builds the 129-entry curve table of a curve code (clamped to -17..17).
    static CurveTable buildCurveTable(int32_t code);
    const CurveTable& curveTable(int32_t filter) const { return tables[filter == 0 ? 0 : 1]; }
    // The dots of one filter's path: centre (relative to the background) and opacity factor 16-96.
    struct PathDot {
        CCPoint centre;
        int32_t alpha;
    };
    std::vector<PathDot> pathDots(int32_t filter) const;

    // Inspection for the page and tests.
    const CCRect& getUpdateRect() const { return updateRect; }
    CCRect getHitRect(int32_t index) const { return hitRects[index]; }
    CCPoint getMarkerPosition(int32_t index) const { return drawPositions[4 + index]; }
    CCPoint getHandlePosition(int32_t index) const { return drawPositions[index]; }
    bool isImageDirty() const { return imageDirty != 0; }
    bool isFilterShown(int32_t filter) const { return (filter == 0 ? filter1Shown : filter2Shown) != 0; }
    int32_t draggedHandle() const { return dragHandle; }

private:
    enum Slot {
        kSlot1Heel,
        kSlot1Toe,
        kSlot2Heel,
        kSlot2Toe,
        kSlotMarker1,
        kSlotMarker2,
        kSlotHeel,
        kSlotToe
    };
    enum Image { kImg1Heel, kImg1Toe, kImg2Heel, kImg2Toe, kImgDot1, kImgDot2, kImgMarker1, kImgMarker2 };

    void placeHandle(int32_t slot);
    void placeVowelPoint(int32_t end);
    void placeMarkers();
    void placeAll();
    CCPoint origin() const { return {bounds.left, bounds.top}; }
    void compose(uint8_t opacity);
    void drawPath(int32_t filter);
    void drawCentred(CCDrawContext& ctx, int32_t image, CCPoint centre);

    std::unique_ptr<CCDrawContext> offscreen;
    CCBitmap* backgroundImage = nullptr; // current background, one of the two below
    CCBitmap* sweepBackground = nullptr; // registry references
    CCBitmap* vowelBackground = nullptr;
    std::array<CCBitmap*, 8> images{};
    int32_t viewMode = kSweepChart;
    std::array<CCValuePair, 8> values{};
    std::array<CCPoint, 6> drawPositions{};
    std::array<CCPoint, 8> hotspots{};
    std::array<CCRect, 4> hitRects{};
    CCRect plot;
    CCRect updateRect;
    uint8_t heelOrientation = 0;
    uint8_t toeOrientation = 0;
    uint8_t filter1Shown = 0;
    uint8_t filter2Shown = 0;
    uint8_t vowelShown = 0;
    uint8_t imageDirty = 0;
    uint8_t valuesChanged = 0;
    std::array<int8_t, 2> curveCodes{int8_t(157 - 256), int8_t(157 - 256)};
    std::array<CurveTable, 2> tables{};
    float sweepScaleX = 0, sweepScaleY = 0, vowelScaleX = 0, vowelScaleY = 0;
    int32_t dragHandle = 0;
    CCPoint anchor;
    CCPoint screenOffset;
};

// The rows the main page copies back after a drag: a handle and the tags of the
// frequency and height parameters it stands for.
struct FilterWriteBackRow {
    int32_t handle;
    int32_t frequencyTag;
    int32_t heightTag;
};
inline constexpr std::array<FilterWriteBackRow, 4> kFilterWriteBackRows{{
    {CTovanFilterCtrl::kFilter1Heel, 17, 15},
    {CTovanFilterCtrl::kFilter1Toe, 16, 14},
    {CTovanFilterCtrl::kFilter2Heel, 56, 54},
    {CTovanFilterCtrl::kFilter2Toe, 55, 53},
}};

// The write-back of the page's periodic tick: when the user dragged a point,
// sets each parameter control under `page` to the dragged value (with notify and
// redraw) and hands every tag whose value changed to `queueSend`. Controls the
// page does not contain are skipped. True when the display had changes.
bool writeBackFilterPoints(CTovanFilterCtrl& display, CCPageObject& page,
                           const std::function<void(int32_t tag)>& queueSend);
