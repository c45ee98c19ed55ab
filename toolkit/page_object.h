#pragma once

#include "toolkit/geometry.h"
#include "toolkit/messages.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class CCBitmap;
class CCDrawContext;
class CCFontInterface;
class CCPageManager;
class CCParameterHost;
class CCTimerHost;

// One node of the retained tree that the whole interface lives in. Parents own
// their children (kept in insertion order); geometry is in absolute window pixels
// once an object is in the tree and relative to its parent's corner before.
//
// Threads: the tree is built and used on the user-interface thread; the fade
// thread changes opacities and composes while it holds the manager's redraw
// lock, which the manager also holds while it dispatches and while children are
// added or removed under it. Opacity and the fading flag are atomic because the
// user-interface thread also reads them outside that lock.
class CCPageObject {
public:
    CCPageObject();
    CCPageObject(int32_t left, int32_t top, int32_t right, int32_t bottom);
    CCPageObject(int32_t left, int32_t top, int32_t right, int32_t bottom, CCPageObject* listener,
                 int32_t tag, uint16_t groupMask);
    virtual ~CCPageObject();
    CCPageObject(const CCPageObject&) = delete;
    CCPageObject& operator=(const CCPageObject&) = delete;

    // Called after insertion and after each move.
    virtual void boundsChanged() {}
    // Called last by addChild.
    virtual void childAdded(CCPageObject* /*child*/) {}
    virtual bool onMessage(CCMsg& /*msg*/) { return false; }
    virtual bool onMouse(CCMouseMsg& /*msg*/) { return false; }
    // Ignored for tag 4097 or when nothing changes. A nonzero opacity is applied at
    // once; otherwise the object fades to its normal or disabled opacity.
    virtual void setEnabled(bool enabled, uint8_t opacity = 0);
    virtual void enabledChanged(bool /*enabled*/) {}
    // Sets the visible flag of this object and its whole subtree.
    virtual void setVisible(bool visible);
    // Called by group switching after the shown flag changed (or was confirmed).
    virtual void shownChanged(bool /*shown*/) {}
    // The hit rectangle, or the bounds while it is empty; right and bottom exclusive.
    virtual bool hitTest(CCPoint point) const;
    // Asks for a redraw of the bounds; with selfOnly only this object's chain is drawn.
    virtual void invalidate(bool selfOnly);
    // Paints this object alone.
    virtual void draw(CCDrawContext& /*ctx*/) {}
    // Composes this object and its following siblings, or only `from`'s part of the tree.
    virtual void redraw(CCDrawContext& ctx, CCPageObject* from);
    // mask = (mask | set) & ~clear; returns the new mask.
    virtual uint16_t setGroupMask(uint16_t set, uint16_t clear);
    virtual int32_t cursorAt(int32_t /*x*/, int32_t /*y*/) { return kCursorArrow; }
    // The object's font: its own, else the toolkit's default font (none when the
    // toolkit is not running).
    virtual CCFontInterface* font();
    // Ends a text entry in progress on this object, keeping what was typed (the
    // window lost the focus). Objects without one do nothing.
    virtual void finishEditing() {}
    // How a modal panel closes (0, 1 or 2; the panel classes define it). Only
    // consulted while this object is the manager's modal panel.
    virtual int32_t modalMode() const { return 0; }

    // Appends the child, whose bounds are relative to this object's corner, and
    // returns it. See addChildObject.
    template <class T>
    T* addChild(std::unique_ptr<T> child) {
        T* raw = child.get();
        addChildObject(std::move(child));
        return raw;
    }
    void addChildObject(std::unique_ptr<CCPageObject> child);
    // Takes the child (searched in the whole subtree) out of the tree; it holds
    // coordinates relative to its former parent again. None when not found.
    std::unique_ptr<CCPageObject> removeChild(CCPageObject* child);

    // Geometry.
    void moveBy(int32_t dx, int32_t dy);
    void setBounds(CCRect rect);
    void moveTo(CCPoint topLeft);
    void centreOn(CCPoint point);
    void centreIn(const CCPageObject& other);
    void setHitInsets(int32_t dl, int32_t dt, int32_t dr, int32_t db);
    CCPoint toLocal(int32_t x, int32_t y) const { return {x - bounds.left, y - bounds.top}; }
    CCPoint toParentOrigin(int32_t x, int32_t y) const;
    const CCRect& getBounds() const { return bounds; }
    const CCRect& getHitRect() const { return hitRect; }

    // The tree.
    CCPageObject* getParent() const { return parent; }
    CCPageObject* getFirstChild() const { return firstChild.get(); }
    CCPageObject* getNextSibling() const { return nextSibling.get(); }
    CCPageObject* getListener() const { return listener; }
    void setListener(CCPageObject* object) { listener = object; }
    int32_t childCount() const;
    bool isAncestorOf(const CCPageObject* object) const;
    // Depth first (child, its subtree, then the next sibling); stops and answers
    // true at the first object for which the predicate answers true.
    bool visitDescendants(const std::function<bool(CCPageObject&)>& predicate);
    // The first object of the subtree (not this one) with that tag; none if absent.
    CCPageObject* findByTag(int32_t tag);

    // The root, if it is a page manager, and what is reached through it.
    CCPageManager* manager();
    CCParameterHost* effect();
    CCParameterHost* parameterSet() { return effect(); }
    CCTimerHost* timerHost();

    // Group switching: see setGroup.
    void setGroup(uint16_t value);
    uint16_t getGroupMask() const { return groupMask; }
    uint16_t getGroupValue() const { return groupValue; }
    bool isSwitcher() const { return switcher != 0; }
    void setHasSelector(bool on) { hasSelector = on; }

    // Opacity attributes.
    void setOpacity(uint8_t normal);
    void setHoverFade(uint8_t normal, uint8_t hover, int32_t inFactor, int32_t outFactor);
    void setSelectFade(uint8_t selected, int32_t selectFactor, int32_t deselectFactor);
    void setDisabledOpacity(uint8_t value) { disabledOpacity = value; }
    void setEnabledQuiet(bool on);
    void setSelected(bool on);

    uint8_t getOpacity() const { return opacity.load(std::memory_order_relaxed); }
    // Sets the current opacity only (the fade thread and immediate changes use it).
    void setCurrentOpacity(uint8_t value) { opacity.store(value, std::memory_order_relaxed); }
    uint8_t getNormalOpacity() const { return normalOpacity; }
    uint8_t getHoverOpacity() const { return hoverOpacity; }
    uint8_t getSelectedOpacity() const { return selectedOpacity; }
    uint8_t getDisabledOpacity() const { return disabledOpacity; }
    bool isFading() const { return fading.load(std::memory_order_relaxed); }
    void setFadingTree(bool on);

    // Flags.
    int32_t getTag() const { return tag; }
    void setTag(int32_t value);
    // Counts the changes of every tree in the program: an object added, removed
    // or destroyed, a tag changed. An index of a tree built at one count holds
    // for as long as the count stays there.
    static uint64_t treeChanges();
    bool isEnabled() const { return enabled != 0; }
    bool isShown() const { return shown != 0; }
    bool isVisible() const { return visible != 0; }
    bool isSelected() const { return selected != 0; }
    bool hasCapture() const { return capture != 0; }
    void setHasCapture(bool on) { capture = on; }
    bool isOpaque() const { return opaque != 0; }
    void setOpaque(bool on) { opaque = on; }
    bool overlapsSibling() const { return overlaps != 0; }
    void setInheritsOverlap(bool on) { inheritsOverlap = on; }
    // Own overlap, or with inherits-overlap set, an ancestor's.
    bool overlapsForRedraw() const;

    void setFont(CCFontInterface* value) { objectFont = value; }
    // Takes a registry reference to bitmap `id` (0 drops it); false when it is missing.
    bool setBackgroundBitmap(int32_t id);
    CCBitmap* getBackgroundBitmap() const { return background; }

    // Draws this object (and, with `withChildren`, its subtree) inside its bounds
    // with its opacity multiplied in; hidden objects and zero opacity draw nothing.
    void drawObject(CCDrawContext& ctx, bool withChildren);
    // Delivery downward: this object first, then its children in order, as long as
    // it is enabled and shown and visible (or the message forces delivery). True
    // when some object handled it.
    bool deliver(CCMsg& msg);
    // Delivery to the children only, each with its subtree. A container that
    // shows only part of its children (a scrolled panel) keeps from them the
    // mouse messages that fall outside what it shows.
    virtual bool deliverToChildren(CCMsg& msg);
    // Delivery upward: parent, grandparent, ... until one handles it.
    bool sendToAncestors(CCMsg& msg);

protected:
    // Multiplies the context opacity by an object's opacity (integer truncation).
    static uint8_t composeOpacity(uint8_t objectOpacity, uint8_t current) {
        return static_cast<uint8_t>(objectOpacity * current / 255);
    }

    CCPageObject* parent = nullptr;
    std::unique_ptr<CCPageObject> firstChild;
    std::unique_ptr<CCPageObject> nextSibling;
    CCPageObject* listener = nullptr;
    CCRect bounds;
    CCRect hitRect;
    uint8_t capture = 0;
    uint8_t enabled = 1;
    uint8_t shown = 1;
    uint8_t selected = 0;
    uint8_t visible = 1;
    uint8_t switcher = 0;
    uint8_t opaque = 0;
    std::atomic<bool> fading{false};
    uint16_t groupMask = 0;
    uint16_t groupValue = 0;
    int32_t tag = kTagNone;
    std::atomic<uint8_t> opacity{255};
    CCFontInterface* objectFont = nullptr; // not owned: fonts belong to the font cache
    CCBitmap* background = nullptr;        // one registry reference
    uint8_t redrawDepth = 0;
    uint8_t normalOpacity = 255;
    uint8_t selectedOpacity = 255;
    uint8_t disabledOpacity = 48;
    uint8_t hoverOpacity = 255;
    int32_t deselectFactor = 0;
    int32_t selectFactor = 0;
    int32_t hoverInFactor = 0;
    int32_t hoverOutFactor = 0;
    uint8_t overlaps = 0;
    uint8_t inheritsOverlap = 0;
    uint8_t hasSelector = 0;

private:
    friend class CCPageManager;

    std::unique_ptr<CCPageObject> detachFirstChild();
    std::unique_ptr<CCPageObject> unlink(CCPageObject* child);
    void unbindSubtree(CCPageObject* root);
    void shiftTree(int32_t dx, int32_t dy);
    void notifyBoundsChangedBelow();
    void recomputeOverlaps();
    void passShownState(bool state);
    void setSelectedTree(bool on);
    void drawChain(CCDrawContext& ctx, CCPageObject* from);
    // The largest part of `clip` that a shown descendant paints over whole
    // when the tree is drawn at `opacity` (an opaque object at full opacity);
    // empty when none does.
    CCRect coveredByDescendants(CCRect clip, uint8_t opacity) const;
};
