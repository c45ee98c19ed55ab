#include "editor/page_tree_view.h"

#include "toolkit/controls/control.h"
#include "toolkit/controls/menu_selector.h"
#include "toolkit/controls/menu_selector_ex.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/page_manager.h"

namespace {

void copyList(const CCMenuList& from, CCMenuList& to) {
    for (const CCMenuItem& item : from.items()) {
        if (item.subList)
            copyList(*item.subList, to.addSubList(item.text));
        else if (item.isSeparator())
            to.addSeparator();
        else
            to.addItem(item.text, item.value);
    }
}

} // namespace

PageTreeView::PageTreeView(CCPageObject& root, CCPageManager* manager)
    : viewRoot(root), fixedManager(manager) {}

CCPageManager* PageTreeView::viewManager() {
    return fixedManager != nullptr ? fixedManager : viewRoot.manager();
}

void PageTreeView::refreshIndex() {
    const uint64_t now = CCPageObject::treeChanges();
    if (now == indexedAt) return;
    index.clear();
    viewRoot.visitDescendants([&](CCPageObject& object) {
        if (auto* control = dynamic_cast<CControl*>(&object)) index[object.getTag()].push_back(control);
        return false;
    });
    indexedAt = now;
}

// A copy: what is done to the controls may change the tree, and the index with it.
std::vector<CControl*> PageTreeView::controlsWithTag(int32_t tag) {
    refreshIndex();
    const auto it = index.find(tag);
    return it != index.end() ? it->second : std::vector<CControl*>{};
}

CControl* PageTreeView::firstControl(int32_t tag) {
    refreshIndex();
    const auto it = index.find(tag);
    return it != index.end() && !it->second.empty() ? it->second.front() : nullptr;
}

bool PageTreeView::hasControl(int32_t tag) {
    return firstControl(tag) != nullptr;
}

void PageTreeView::setControlValue(int32_t tag, int32_t value) {
    if (CControl* control = firstControl(tag))
        control->setValue(value, Notify::yes, Redraw::yes, SelfOnly::yes);
}

void PageTreeView::setControlValueQuiet(int32_t tag, int32_t value) {
    for (CControl* control : controlsWithTag(tag))
        control->setValue(value, Notify::no, Redraw::yes, SelfOnly::yes);
}

void PageTreeView::setControlRange(int32_t tag, int32_t minimum, int32_t maximum, bool floatMode) {
    for (CControl* control : controlsWithTag(tag)) {
        control->setRange(minimum, maximum);
        control->setFloatMode(floatMode);
    }
}

void PageTreeView::forceControlValue(int32_t tag, int32_t value) {
    if (CControl* control = firstControl(tag))
        control->setValueForced(value, Notify::yes, Redraw::yes, SelfOnly::yes);
}

void PageTreeView::setControlVisible(int32_t tag, bool visible) {
    for (CControl* control : controlsWithTag(tag))
        control->setVisible(visible);
}

void PageTreeView::setControlEnabled(int32_t tag, bool enabled) {
    for (CControl* control : controlsWithTag(tag))
        control->setEnabled(enabled);
}

std::string PageTreeView::controlText(int32_t tag) {
    CControl* control = firstControl(tag);
    return control != nullptr ? control->getText() : std::string();
}

void PageTreeView::setControlText(int32_t tag, std::string_view text) {
    for (CControl* control : controlsWithTag(tag))
        if (auto* field = dynamic_cast<CCTextCtrl*>(control)) field->setText(text);
}

CCMenuList* PageTreeView::openList(int32_t tag) {
    auto& stack = openLists[tag];
    if (!stack.empty()) return stack.back();
    if (auto* selector = dynamic_cast<CCMenuSelectorEx*>(firstControl(tag))) return &selector->menu();
    return nullptr;
}

void PageTreeView::clearMenu(int32_t tag) {
    openLists.erase(tag);
    for (CControl* control : controlsWithTag(tag)) {
        if (auto* selector = dynamic_cast<CCMenuSelectorEx*>(control)) selector->menu().clear();
        if (auto* selector = dynamic_cast<CCMenuSelector*>(control)) selector->clearItems();
    }
}

void PageTreeView::beginSubmenu(int32_t tag, std::string_view title) {
    if (CCMenuList* list = openList(tag)) openLists[tag].push_back(&list->addSubList(title));
}

void PageTreeView::endSubmenu(int32_t tag) {
    auto& stack = openLists[tag];
    if (!stack.empty()) stack.pop_back();
}

void PageTreeView::addMenuItem(int32_t tag, std::string_view text, std::string_view, int32_t value) {
    if (CCMenuList* list = openList(tag)) {
        list->addItem(text, value);
        return;
    }
    if (auto* selector = dynamic_cast<CCMenuSelector*>(firstControl(tag))) selector->addItem(text);
}

void PageTreeView::copyMenu(int32_t fromTag, int32_t toTag) {
    auto* from = dynamic_cast<CCMenuSelectorEx*>(firstControl(fromTag));
    if (from == nullptr) return;
    for (CControl* control : controlsWithTag(toTag)) {
        if (auto* to = dynamic_cast<CCMenuSelectorEx*>(control); to != nullptr && to != from) {
            to->menu().clear();
            copyList(from->menu(), to->menu());
        }
    }
}

void PageTreeView::beginUpdate() {
    CCPageManager* m = viewManager();
    if (m == nullptr) return;
    // Recursive: the outermost update holds the lock, the nested ones count.
    auto lock = m->lockRedraw();
    if (updateDepth++ == 0) updateLock = std::move(lock);
    m->beginUpdate();
}

void PageTreeView::endUpdate() {
    CCPageManager* m = viewManager();
    if (m == nullptr) return;
    m->endUpdate();
    if (updateDepth > 0 && --updateDepth == 0 && updateLock.owns_lock()) updateLock.unlock();
}

void PageTreeView::invalidatePage() {
    viewRoot.invalidate(false);
}
