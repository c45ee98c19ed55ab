#include "toolkit/page_object.h"

#include "toolkit/page.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/page_manager.h"
#include "toolkit/parameter_host.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <vector>

namespace {

constexpr uint8_t kRedrawDepthLimit = 8;
constexpr int32_t kEnableFadeFactor = 20;

// The redraw lock of the manager above `object`, held when the tree there changes
// so that a fade pass never walks a half-linked list.
std::optional<std::unique_lock<std::recursive_mutex>> lockTreeOf(CCPageObject* object) {
    if (CCPageManager* m = object->manager()) return m->lockRedraw();
    return std::nullopt;
}

// Overlap between siblings: a shared edge does not count.
bool intersects(const CCRect& p, const CCRect& q) {
    return p.left < q.right && q.left < p.right && p.top < q.bottom && q.top < p.bottom;
}

std::atomic<uint64_t> treeChangeCount{0};

void treeChanged() {
    treeChangeCount.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

uint64_t CCPageObject::treeChanges() {
    return treeChangeCount.load(std::memory_order_relaxed);
}

void CCPageObject::setTag(int32_t value) {
    if (value == tag) return;
    tag = value;
    treeChanged();
}

CCPageObject::CCPageObject() = default;

CCPageObject::CCPageObject(int32_t left, int32_t top, int32_t right, int32_t bottom)
    : bounds{left, top, right, bottom} {}

CCPageObject::CCPageObject(int32_t left, int32_t top, int32_t right, int32_t bottom, CCPageObject* listener,
                           int32_t tag, uint16_t groupMask)
    : listener(listener), bounds{left, top, right, bottom}, groupMask(groupMask), tag(tag) {}

CCPageObject::~CCPageObject() {
    // Children are taken out one by one (each leaves the list as it goes), so a
    // long sibling list never recurses through the unique_ptr chain.
    while (firstChild)
        detachFirstChild().reset();
    if (background) releaseBitmap(background);
    treeChanged();
}

void CCPageObject::addChildObject(std::unique_ptr<CCPageObject> child) {
    if (!child) return;
    auto lock = lockTreeOf(this);
    treeChanged();
    CCPageObject* raw = child.get();
    raw->parent = this;
    std::unique_ptr<CCPageObject>* slot = &firstChild;
    while (*slot)
        slot = &(*slot)->nextSibling;
    *slot = std::move(child);
    if (raw->groupMask != 0) switcher = 1;
    raw->moveBy(bounds.left, bounds.top);
    // Only pairs with the newcomer can have changed.
    for (CCPageObject* c = firstChild.get(); c != raw; c = c->nextSibling.get()) {
        if (intersects(c->bounds, raw->bounds)) {
            c->overlaps = 1;
            raw->overlaps = 1;
        }
    }
    if (CCParameterHost* host = effect()) {
        int32_t count = host->parameterCount();
        auto bind = [host, count](CCPageObject& o) {
            if (o.tag >= 0 && o.tag < count) host->bindView(o.tag, &o);
            return false;
        };
        bind(*raw);
        raw->visitDescendants(bind);
    }
    raw->setVisible(true);
    raw->boundsChanged();
    childAdded(raw);
}

std::unique_ptr<CCPageObject> CCPageObject::removeChild(CCPageObject* child) {
    if (!child || child == this || !isAncestorOf(child)) return nullptr;
    auto lock = lockTreeOf(this);
    treeChanged();
    CCPageObject* former = child->parent;
    if (CCPageManager* m = manager()) m->forgetSubtree(child);
    unbindSubtree(child);
    return former->unlink(child);
}

std::unique_ptr<CCPageObject> CCPageObject::detachFirstChild() {
    // The parent is going away: only what outlives it (the manager's references,
    // parameter bindings) is cleaned up; the child is destroyed next.
    CCPageObject* child = firstChild.get();
    if (CCPageManager* m = manager()) m->forgetSubtree(child);
    unbindSubtree(child);
    std::unique_ptr<CCPageObject> taken = std::move(firstChild);
    firstChild = std::move(taken->nextSibling);
    taken->parent = nullptr;
    return taken;
}

void CCPageObject::unbindSubtree(CCPageObject* root) {
    CCParameterHost* host = effect();
    if (!host) return;
    int32_t count = host->parameterCount();
    auto unbind = [host, count](CCPageObject& o) {
        if (o.tag >= 0 && o.tag < count) host->unbindView(o.tag, &o);
        return false;
    };
    unbind(*root);
    root->visitDescendants(unbind);
}

std::unique_ptr<CCPageObject> CCPageObject::unlink(CCPageObject* child) {
    CCPageObject* former = this;
    std::unique_ptr<CCPageObject>* slot = &former->firstChild;
    while (slot->get() != child)
        slot = &(*slot)->nextSibling;
    std::unique_ptr<CCPageObject> taken = std::move(*slot);
    *slot = std::move(taken->nextSibling);
    taken->parent = nullptr;
    taken->moveBy(-former->bounds.left, -former->bounds.top);
    taken->setVisible(false);
    former->recomputeOverlaps();
    return taken;
}

void CCPageObject::setEnabled(bool on, uint8_t newOpacity) {
    if (tag == kTagNeverDisabled || (enabled != 0) == on) return;
    enabled = on;
    enabledChanged(on);
    if (newOpacity != 0) {
        setCurrentOpacity(newOpacity);
        invalidate(false);
        return;
    }
    uint8_t target = on ? normalOpacity : disabledOpacity;
    if (CCPageManager* m = manager()) {
        m->fadeTo(this, target, kEnableFadeFactor, kMsgFadeFinished);
    } else {
        // Outside a tree there is nothing to animate; the object must still look
        // disabled once it is added.
        setCurrentOpacity(target);
    }
}

void CCPageObject::setVisible(bool on) {
    visible = on;
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get())
        c->setVisible(on);
}

bool CCPageObject::hitTest(CCPoint point) const {
    if (hitRect.left != hitRect.right) return hitRect.contains(point);
    return bounds.contains(point);
}

void CCPageObject::invalidate(bool selfOnly) {
    if (!shown || !visible) return;
    CCMsg msg(kMsgRedraw, this);
    msg.selfOnly = selfOnly;
    sendToAncestors(msg);
}

uint16_t CCPageObject::setGroupMask(uint16_t set, uint16_t clear) {
    groupMask = static_cast<uint16_t>((groupMask | set) & ~clear);
    return groupMask;
}

CCFontInterface* CCPageObject::font() {
    if (objectFont) return objectFont;
    return getFont();
}

void CCPageObject::shiftTree(int32_t dx, int32_t dy) {
    bounds = bounds.offset(dx, dy);
    hitRect = hitRect.offset(dx, dy);
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get())
        c->shiftTree(dx, dy);
}

void CCPageObject::notifyBoundsChangedBelow() {
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get()) {
        c->boundsChanged();
        c->notifyBoundsChangedBelow();
    }
}

void CCPageObject::moveBy(int32_t dx, int32_t dy) {
    shiftTree(dx, dy);
    notifyBoundsChangedBelow();
}

void CCPageObject::setBounds(CCRect rect) {
    moveBy(rect.left - bounds.left, rect.top - bounds.top);
    bounds.right = rect.right;
    bounds.bottom = rect.bottom;
    boundsChanged();
}

void CCPageObject::moveTo(CCPoint topLeft) {
    moveBy(topLeft.x - bounds.left, topLeft.y - bounds.top);
    boundsChanged();
}

void CCPageObject::centreOn(CCPoint point) {
    moveTo({point.x - bounds.width() / 2, point.y - bounds.height() / 2});
}

void CCPageObject::centreIn(const CCPageObject& other) {
    const CCRect& o = other.bounds;
    centreOn({o.left + o.width() / 2, o.top + o.height() / 2});
}

void CCPageObject::setHitInsets(int32_t dl, int32_t dt, int32_t dr, int32_t db) {
    hitRect = {bounds.left + dl, bounds.top + dt, bounds.right + dr, bounds.bottom + db};
}

CCPoint CCPageObject::toParentOrigin(int32_t x, int32_t y) const {
    for (const CCPageObject* o = this; o; o = o->parent) {
        x += o->bounds.left;
        y += o->bounds.top;
    }
    return {x, y};
}

int32_t CCPageObject::childCount() const {
    int32_t n = 0;
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get())
        ++n;
    return n;
}

bool CCPageObject::isAncestorOf(const CCPageObject* object) const {
    for (const CCPageObject* o = object ? object->parent : nullptr; o; o = o->parent)
        if (o == this) return true;
    return false;
}

bool CCPageObject::visitDescendants(const std::function<bool(CCPageObject&)>& predicate) {
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get()) {
        if (predicate(*c)) return true;
        if (c->visitDescendants(predicate)) return true;
    }
    return false;
}

CCPageObject* CCPageObject::findByTag(int32_t wanted) {
    CCPageObject* found = nullptr;
    visitDescendants([&](CCPageObject& o) {
        if (o.tag != wanted) return false;
        found = &o;
        return true;
    });
    return found;
}

CCPageManager* CCPageObject::manager() {
    CCPageObject* root = this;
    while (root->parent)
        root = root->parent;
    return dynamic_cast<CCPageManager*>(root);
}

CCParameterHost* CCPageObject::effect() {
    CCPageManager* m = manager();
    return m ? m->getEffect() : nullptr;
}

CCTimerHost* CCPageObject::timerHost() {
    CCPageManager* m = manager();
    return m ? &m->getTimerHost() : nullptr;
}

void CCPageObject::recomputeOverlaps() {
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get())
        c->overlaps = 0;
    for (CCPageObject* a = firstChild.get(); a; a = a->nextSibling.get()) {
        for (CCPageObject* b = a->nextSibling.get(); b; b = b->nextSibling.get()) {
            if (intersects(a->bounds, b->bounds)) {
                a->overlaps = 1;
                b->overlaps = 1;
            }
        }
    }
}

bool CCPageObject::overlapsForRedraw() const {
    if (overlaps) return true;
    if (!inheritsOverlap) return false;
    for (const CCPageObject* o = parent; o; o = o->parent)
        if (o->overlaps) return true;
    return false;
}

void CCPageObject::setGroup(uint16_t value) {
    groupValue = value;
    if (!switcher) return;
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get()) {
        if (c->groupMask == 0) continue;
        bool state = (c->groupMask & value) != 0;
        c->shown = state;
        c->shownChanged(state);
        if (!c->hasSelector) c->passShownState(state);
    }
}

void CCPageObject::passShownState(bool state) {
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get()) {
        bool own = state;
        if (c->groupMask != 0 && switcher) own = (c->groupMask & groupValue) != 0;
        c->shown = own;
        c->shownChanged(own);
        if (!c->hasSelector) c->passShownState(own);
    }
}

void CCPageObject::setOpacity(uint8_t normal) {
    normalOpacity = normal;
    setCurrentOpacity(normal);
}

void CCPageObject::setHoverFade(uint8_t normal, uint8_t hoverValue, int32_t inFactor, int32_t outFactor) {
    setOpacity(normal);
    hoverOpacity = hoverValue;
    hoverInFactor = inFactor;
    hoverOutFactor = outFactor;
}

void CCPageObject::setSelectFade(uint8_t selectedValue, int32_t selectValue, int32_t deselectValue) {
    if (selectValue == 0) {
        selectedOpacity = 255;
        selectFactor = 0;
        deselectFactor = 0;
        return;
    }
    selectedOpacity = selectedValue;
    selectFactor = selectValue;
    deselectFactor = deselectValue != 0 ? deselectValue : selectValue;
}

void CCPageObject::setEnabledQuiet(bool on) {
    if (tag != kTagNeverDisabled) enabled = on;
}

void CCPageObject::setSelected(bool on) {
    if ((selected != 0) == on) {
        // A selected object whose fade was interrupted is selected again.
        if (!(on && selectFactor != 0 && getOpacity() != selectedOpacity)) return;
        selected = 0;
    }
    CCPageManager* m = manager();
    if (selectFactor != 0 && m) {
        if (on)
            m->fadeTo(this, selectedOpacity, selectFactor, kMsgFadeFinished);
        else
            m->fadeTo(this, 255, deselectFactor, kMsgFadeFinished);
    } else if (selectFactor != 0) {
        setCurrentOpacity(on ? selectedOpacity : 255);
    } else {
        invalidate(false);
    }
    setSelectedTree(on);
}

void CCPageObject::setSelectedTree(bool on) {
    selected = on;
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get())
        c->setSelectedTree(on);
}

void CCPageObject::setFadingTree(bool on) {
    fading.store(on, std::memory_order_relaxed);
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get())
        c->setFadingTree(on);
}

bool CCPageObject::setBackgroundBitmap(int32_t id) {
    if (background) releaseBitmap(background);
    background = nullptr;
    if (id == 0) return true;
    background = acquireBitmap(id);
    return background != nullptr;
}

void CCPageObject::drawObject(CCDrawContext& ctx, bool withChildren) {
    if (!shown || !visible) return;
    CCDrawStateSaver saver(ctx);
    ctx.clip(bounds);
    ctx.setOpacity(composeOpacity(getOpacity(), ctx.opacity()));
    if (ctx.clipRect().isEmpty() || ctx.opacity() == 0) return;
    // A page's art under a descendant that paints all of its bounds (a
    // display copying its own composition there) would only be painted over:
    // the page is drawn around that part, in up to four pieces.
    const CCRect covered = withChildren && background != nullptr && dynamic_cast<CCPage*>(this) != nullptr
                               ? coveredByDescendants(ctx.clipRect(), ctx.opacity())
                               : CCRect{};
    if (covered.isEmpty()) {
        draw(ctx);
    } else {
        const CCRect clip = ctx.clipRect();
        const CCRect pieces[] = {{clip.left, clip.top, clip.right, covered.top},
                                 {clip.left, covered.top, covered.left, covered.bottom},
                                 {covered.right, covered.top, clip.right, covered.bottom},
                                 {clip.left, covered.bottom, clip.right, clip.bottom}};
        for (const CCRect& piece : pieces) {
            if (piece.isEmpty()) continue;
            CCDrawStateSaver pieceSaver(ctx);
            ctx.clip(piece);
            draw(ctx);
        }
    }
    if (!withChildren) return;
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get())
        c->drawObject(ctx, true);
}

CCRect CCPageObject::coveredByDescendants(CCRect clip, uint8_t opacity) const {
    auto area = [](const CCRect& r) { return r.isEmpty() ? int64_t(0) : int64_t(r.width()) * r.height(); };
    CCRect best;
    for (const CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get()) {
        if (!c->shown || !c->visible) continue;
        const CCRect inside = clip.intersected(c->bounds);
        const uint8_t childOpacity = composeOpacity(c->getOpacity(), opacity);
        if (inside.isEmpty() || childOpacity == 0) continue;
        const bool coversWhole = c->opaque && childOpacity == 255 && c->getOpacity() == c->normalOpacity;
        const CCRect covered = coversWhole ? inside : c->coveredByDescendants(inside, childOpacity);
        if (area(covered) > area(best)) best = covered;
    }
    return best;
}

void CCPageObject::redraw(CCDrawContext& ctx, CCPageObject* from) {
    ++redrawDepth;
    if (redrawDepth < kRedrawDepthLimit) {
        if (!from) {
            for (CCPageObject* o = this; o; o = o->nextSibling.get())
                o->drawObject(ctx, true);
        } else {
            drawChain(ctx, from);
        }
    }
    --redrawDepth;
}

void CCPageObject::drawChain(CCDrawContext& ctx, CCPageObject* from) {
    CCDrawStateSaver saver(ctx);
    const uint8_t startOpacity = ctx.opacity();
    for (CCPageObject* a = from->parent; a; a = a->parent) {
        ctx.clip(a->bounds);
        ctx.setOpacity(composeOpacity(a->getOpacity(), ctx.opacity()));
        if (ctx.opacity() == 0) return;
    }
    // Only an object that covers its bounds, as it normally looks, and that no
    // sibling overlaps may be painted without what lies behind it.
    if (from->opaque && from->getOpacity() == from->normalOpacity && !from->overlapsForRedraw()) {
        from->drawObject(ctx, true);
        return;
    }
    if (from->overlapsForRedraw()) {
        ctx.setOpacity(startOpacity);
        redraw(ctx, nullptr);
        return;
    }

    constexpr int kChainLimit = 32;
    CCPageObject* chain[kChainLimit];
    int n = 0;
    for (CCPageObject* o = from; o && n < kChainLimit; o = o->parent)
        chain[n++] = o;
    for (int i = 0; i < n; ++i)
        if (!chain[i]->shown || !chain[i]->visible) return;

    // With nothing translucent above, drawing can start at the nearest ancestor
    // that paints its whole bounds at full opacity: everything behind is covered.
    int start = n - 1;
    if (ctx.opacity() == 255) {
        for (int i = 1; i < n; ++i) {
            CCPageObject* a = chain[i];
            bool covers = a->opaque || (a->background && a->background->isFullyOpaque());
            if (covers && a->getOpacity() == 255) {
                start = i;
                break;
            }
        }
    }

    // Clip and opacity from the top of the tree; objects above the start and above
    // the chain's limit only contribute theirs.
    ctx.restore();
    ctx.save();
    CCPageObject* top = chain[n - 1];
    std::vector<CCPageObject*> above;
    for (CCPageObject* a = top->parent; a; a = a->parent)
        above.push_back(a);
    for (auto it = above.rbegin(); it != above.rend(); ++it) {
        ctx.clip((*it)->bounds);
        ctx.setOpacity(composeOpacity((*it)->getOpacity(), ctx.opacity()));
    }
    for (int i = n - 1; i >= 0; --i) {
        CCPageObject* o = chain[i];
        ctx.clip(o->bounds);
        ctx.setOpacity(composeOpacity(o->getOpacity(), ctx.opacity()));
        if (ctx.opacity() == 0 || ctx.clipRect().isEmpty()) return;
        if (i <= start) o->draw(ctx);
    }
    for (CCPageObject* c = from->firstChild.get(); c; c = c->nextSibling.get())
        c->drawObject(ctx, true);
}

namespace {

// A set-value message is for every control with its tag (a setting may be shown
// by two buttons), so it does not stop at the first that takes it.
bool reachesEveryTaker(const CCMsg& msg) {
    return msg.code == kMsgSetValue;
}

} // namespace

bool CCPageObject::deliver(CCMsg& msg) {
    if (!enabled) return false;
    if ((!shown || !visible) && !msg.forceDelivery) return false;
    CCMouseMsg* mouse = isMouseCode(msg.code) ? dynamic_cast<CCMouseMsg*>(&msg) : nullptr;
    const bool taken = mouse ? onMouse(*mouse) : onMessage(msg);
    if (taken && !reachesEveryTaker(msg)) return true;
    return deliverToChildren(msg) || taken;
}

bool CCPageObject::deliverToChildren(CCMsg& msg) {
    bool taken = false;
    for (CCPageObject* c = firstChild.get(); c; c = c->nextSibling.get()) {
        if (!c->deliver(msg)) continue;
        if (!reachesEveryTaker(msg)) return true;
        taken = true;
    }
    return taken;
}

bool CCPageObject::sendToAncestors(CCMsg& msg) {
    for (CCPageObject* o = parent; o; o = o->parent)
        if (o->onMessage(msg)) return true;
    return false;
}
