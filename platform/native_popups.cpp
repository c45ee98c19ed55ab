#include "platform/edit_box.h"
#include "platform/popup_menu.h"

namespace {

class NoPopupMenus : public PopupMenuHost {
public:
    std::optional<int32_t> trackPopupMenu(const std::vector<PopupMenuItem>&, int32_t, int32_t) override {
        return std::nullopt;
    }
};

class NoEditBoxes : public EditBoxHost {
public:
    std::unique_ptr<NativeEditBox> openEditBox(const EditBoxRequest&, EditBoxEvents&) override {
        return nullptr;
    }
};

PopupMenuHost* installedMenus = nullptr;
EditBoxHost* installedEdits = nullptr;

} // namespace

PopupMenuHost& popupMenuHost() {
    static NoPopupMenus fallback;
    return installedMenus != nullptr ? *installedMenus : fallback;
}

PopupMenuHost* setPopupMenuHost(PopupMenuHost* host) {
    PopupMenuHost* previous = installedMenus;
    installedMenus = host;
    return previous;
}

EditBoxHost& editBoxHost() {
    static NoEditBoxes fallback;
    return installedEdits != nullptr ? *installedEdits : fallback;
}

EditBoxHost* setEditBoxHost(EditBoxHost* host) {
    EditBoxHost* previous = installedEdits;
    installedEdits = host;
    return previous;
}
