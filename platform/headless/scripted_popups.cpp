#include "platform/headless/scripted_popups.h"

#include <algorithm>

namespace {

// The command at the end of a path of texts; nothing when the path stops on a
// separator or a sub-list, or names no entry.
std::optional<int32_t> findByPath(const std::vector<PopupMenuItem>& items,
                                  const std::vector<std::string>& path, size_t depth) {
    if (depth >= path.size()) return std::nullopt;
    for (const PopupMenuItem& item : items) {
        if (item.separator || item.text != path[depth]) continue;
        if (!item.submenu.empty()) return findByPath(item.submenu, path, depth + 1);
        if (depth + 1 == path.size()) return item.command;
        return std::nullopt;
    }
    return std::nullopt;
}

bool hasCommand(const std::vector<PopupMenuItem>& items, int32_t command) {
    return std::any_of(items.begin(), items.end(), [command](const PopupMenuItem& item) {
        if (item.separator) return false;
        if (!item.submenu.empty()) return hasCommand(item.submenu, command);
        return item.command == command;
    });
}

} // namespace

std::optional<int32_t> ScriptedPopupMenus::trackPopupMenu(const std::vector<PopupMenuItem>& items,
                                                          int32_t screenX, int32_t screenY) {
    shown.push_back({items, screenX, screenY});
    if (script.empty()) return std::nullopt;
    Choice choice = std::move(script.front());
    script.pop_front();
    if (choice.command) return hasCommand(items, *choice.command) ? choice.command : std::nullopt;
    return findByPath(items, choice.path, 0);
}

HeadlessEditBox::HeadlessEditBox(ScriptedEditBoxes& owner, const EditBoxRequest& r, EditBoxEvents& e)
    : request(r), host(owner), events(e), content(r.text) {
    host.open.push_back(this);
}

HeadlessEditBox::~HeadlessEditBox() {
    std::erase(host.open, this);
    std::erase_if(host.pending, [this](const ScriptedEditBoxes::Pending& p) { return p.box == this; });
}

void HeadlessEditBox::type(std::string text) {
    if (request.maxLength > 0 && text.size() > size_t(request.maxLength))
        text.resize(size_t(request.maxLength));
    content = std::move(text);
    // As a real box reports each change while it is typed into.
    events.editChanged();
}

std::unique_ptr<NativeEditBox> ScriptedEditBoxes::openEditBox(const EditBoxRequest& request,
                                                              EditBoxEvents& events) {
    requests.push_back(request);
    if (!failures.empty()) {
        failures.pop_front();
        return nullptr;
    }
    auto box = std::make_unique<HeadlessEditBox>(*this, request, events);
    if (!script.empty()) {
        pending.push_back({box.get(), std::move(script.front())});
        script.pop_front();
    }
    return box;
}

int32_t ScriptedEditBoxes::runPending() {
    int32_t played = 0;
    while (!pending.empty()) {
        Pending next = std::move(pending.front());
        pending.pop_front();
        ++played;
        next.box->type(next.entry.text);
        switch (next.entry.ending) {
        case EditEnding::Return:
            next.box->pressReturn();
            break;
        case EditEnding::Escape:
            next.box->pressEscape();
            break;
        case EditEnding::FocusLost:
            next.box->loseFocus();
            break;
        }
    }
    return played;
}
