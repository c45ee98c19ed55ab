#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "link/pedal_view.h"

class CCMenuList;
class CCPageManager;
class CCPageObject;
class CControl;

// What the link does to a page, carried out on the page's controls found by
// tag in its tree. The main page derives from it and adds what only it shows
// (lamps, markers, the progress panel); every rule here looks the control up
// when it is used, and a tag the page does not have is skipped.
//
// Look-ups go through an index of the page's controls by tag, built in one
// walk of the tree and built again at the first look-up after any tree changed
// (CCPageObject::treeChanges), so a status poll setting a dozen controls costs
// a dozen look-ups, not a dozen walks.
class PageTreeView : public PedalView {
public:
    // Without a manager, the one at the root of `root`'s tree when used.
    PageTreeView(CCPageObject& root, CCPageManager* manager = nullptr);

    bool hasControl(int32_t tag) override;
    void setControlValue(int32_t tag, int32_t value) override;
    void setControlValueQuiet(int32_t tag, int32_t value) override;
    void setControlRange(int32_t tag, int32_t minimum, int32_t maximum, bool floatMode) override;
    void forceControlValue(int32_t tag, int32_t value) override;
    void setControlVisible(int32_t tag, bool visible) override;
    void setControlEnabled(int32_t tag, bool enabled) override;
    std::string controlText(int32_t tag) override;
    void setControlText(int32_t tag, std::string_view text) override;

    void clearMenu(int32_t tag) override;
    void beginSubmenu(int32_t tag, std::string_view title) override;
    void endSubmenu(int32_t tag) override;
    void addMenuItem(int32_t tag, std::string_view text, std::string_view secondary, int32_t value) override;
    void copyMenu(int32_t fromTag, int32_t toTag) override;

    void beginUpdate() override;
    void endUpdate() override;
    void invalidatePage() override;

protected:
    // Every control with the tag, in tree order (a tag may be shown twice).
    std::vector<CControl*> controlsWithTag(int32_t tag);
    CControl* firstControl(int32_t tag);

private:
    CCMenuList* openList(int32_t tag);
    CCPageManager* viewManager();

    void refreshIndex();

    CCPageObject& viewRoot;
    CCPageManager* fixedManager;
    // Every control under the root by tag, in tree order, as of indexedAt.
    std::unordered_map<int32_t, std::vector<CControl*>> index;
    uint64_t indexedAt = UINT64_MAX;
    // The sub-lists being filled, per selector tag.
    std::map<int32_t, std::vector<CCMenuList*>> openLists;
    // The redraw lock, held by the outermost update.
    std::unique_lock<std::recursive_mutex> updateLock;
    int32_t updateDepth = 0;
};
