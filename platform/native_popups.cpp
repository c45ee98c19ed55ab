#include "platform/edit_box.h"

#include "platform/installed_service.h"
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

InstalledService<PopupMenuHost> installedMenus;
InstalledService<EditBoxHost> installedEdits;

} // namespace

PopupMenuHost& popupMenuHost() {
    static NoPopupMenus fallback;
    return installedMenus.get(fallback);
}

PopupMenuHost* setPopupMenuHost(PopupMenuHost* host) {
    return installedMenus.replace(host);
}

EditBoxHost& editBoxHost() {
    static NoEditBoxes fallback;
    return installedEdits.get(fallback);
}

EditBoxHost* setEditBoxHost(EditBoxHost* host) {
    return installedEdits.replace(host);
}
