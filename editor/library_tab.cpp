#include "editor/library_tab.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "editor/back_page.h"
#include "editor/editor_tags.h"
#include "editor/editor_window.h"
#include "editor/library_list.h"
#include "editor/prefs.h"
#include "link/tovan_process.h"
#include "model/pedal_values.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "toolkit/controls/static_text_ctrl.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/dialogs.h"

namespace fs = std::filesystem;

namespace {

std::string userLabel(int32_t slot) {
    return presetLabel(kPresetsPerBank + slot);
}

// "name | description" split in two, without the spaces around them.
std::pair<std::string, std::string> splitText(const std::string& text) {
    const size_t bar = text.find(" | ");
    if (bar == std::string::npos) return {text, {}};
    return {text.substr(0, bar), text.substr(bar + 3)};
}

bool blank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

std::vector<EditHistory::SlotRecord::SlotState> states(const std::vector<Librarian::Written>& written,
                                                       bool after) {
    std::vector<EditHistory::SlotRecord::SlotState> out;
    for (const Librarian::Written& w : written) {
        const Librarian::Contents& c = after ? w.after : w.before;
        out.push_back({w.slot, c.name, c.description, c.values});
    }
    // Undo writes back in the reverse order of the writes.
    if (!after) std::reverse(out.begin(), out.end());
    return out;
}

} // namespace

CLibraryTab::CLibraryTab(CCEditor& owner) : editor(owner) {
    libraryFolder = defaultFolder();
    if (const auto stored = settingsStore().read(CPrefs::kKeyPath, kFolderSetting);
        stored && stored->type == SettingType::String && !stored->text().empty())
        libraryFolder = stored->text();
}

fs::path CLibraryTab::defaultFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data == '/') return fs::path(data) / "tovan" / "library";
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "/tmp") / ".local" / "share" / "tovan" / "library";
}

void CLibraryTab::setFolder(const fs::path& path) {
    libraryFolder = path;
    settingsStore().write(CPrefs::kKeyPath, kFolderSetting, SettingValue::string(path.string()));
    refreshLibrary();
}

void CLibraryTab::attach(CBackPage& built) {
    page = &built;
    userList = dynamic_cast<CLibraryList*>(built.object(Role::UserList));
    factoryList = dynamic_cast<CLibraryList*>(built.object(Role::FactoryList));
    fileList = dynamic_cast<CLibraryList*>(built.object(Role::LibraryList));
    for (CLibraryList* list : {userList, factoryList, fileList}) {
        if (list == nullptr) continue;
        list->setFonts(built.textStyle(TextStyle::Info).font, built.textStyle(TextStyle::Label).font);
        list->setDropHandler([this](CLibraryList& source, CCPoint point, bool copy) {
            if (userList != nullptr) userList->setDropTarget(-1);
            dropped(source, point, copy);
        });
        // The slot a drag would land on is marked in the user presets.
        list->setDragHandler([this](CCPoint point) {
            if (userList == nullptr) return;
            userList->scrollForDrag(point);
            userList->setDropTarget(userList->getBounds().contains(point) ? userList->idAt(point) : -1);
        });
    }
    if (fileList != nullptr) {
        fileList->setColumns({4, 4, 4});
        fileList->setEmptyText("No preset files: drag presets here to export");
    }
}

bool CLibraryTab::handles(int32_t tag) {
    return tag == etag::kExportAll || tag == etag::kImportFolder || tag == etag::kLibraryFolder ||
           (tag >= etag::kUserList && tag <= etag::kLibrarySearch);
}

void CLibraryTab::valueChanged(int32_t tag, int32_t value) {
    if (tag == etag::kLibrarySearch) {
        auto* search =
            page != nullptr ? dynamic_cast<CCTextCtrl*>(page->object(Role::LibrarySearch)) : nullptr;
        if (search != nullptr && fileList != nullptr) fileList->setFilter(search->getText());
        return;
    }
    // Buttons report their press and their release: once a click.
    if (value == 0) return;
    switch (tag) {
    case etag::kExportAll:
        exportAll();
        break;
    case etag::kImportFolder:
        importFolder();
        break;
    case etag::kLibraryFolder:
        if (const auto chosen = dialogHost().chooseFolder("Library Folder", libraryFolder.string()))
            setFolder(*chosen);
        break;
    default:
        break;
    }
}

void CLibraryTab::refresh() {
    refreshPresets();
    refreshLibrary();
}

void CLibraryTab::refreshPresets() {
    TovanProcess* link = editor.process();
    if (link == nullptr) return;
    for (CLibraryList* list : {userList, factoryList}) {
        if (list == nullptr) continue;
        const bool user = list == userList;
        std::vector<CLibraryList::Row> rows;
        for (int32_t slot = 0; slot < kPresetsPerBank; ++slot) {
            const int32_t preset = (user ? kPresetsPerBank : 0) + slot;
            const auto [name, description] = splitText(link->menus().text(preset));
            rows.push_back(
                {slot, {presetLabel(preset), name, description}, blank(name) && blank(description)});
        }
        // Unchanged rows are not drawn again (this runs with the poll).
        const auto shown = list->shownRows();
        bool same = shown.size() == rows.size();
        for (size_t i = 0; same && i < rows.size(); ++i)
            same = shown[i]->columns == rows[i].columns;
        if (!same) list->setRows(std::move(rows));
    }
}

void CLibraryTab::refreshLibrary() {
    libraryEntries = Librarian::listFolder(libraryFolder);
    if (fileList != nullptr) {
        std::vector<CLibraryList::Row> rows;
        for (size_t i = 0; i < libraryEntries.size(); ++i) {
            const Librarian::LibraryEntry& entry = libraryEntries[i];
            const bool usable = entry.state == Librarian::EntryState::Preset;
            std::string text = entry.fileName;
            if (!usable) text += "  (" + Librarian::stateText(entry.state) + ")";
            rows.push_back({static_cast<int32_t>(i), {text, "", ""}, !usable});
        }
        fileList->setRows(std::move(rows));
    }
    if (page != nullptr)
        if (auto* text = dynamic_cast<CCStaticTextCtrl*>(page->object(Role::LibraryFolderText))) {
            std::string shown = libraryFolder.string();
            const char* home = std::getenv("HOME");
            if (home != nullptr && *home != 0 && shown.rfind(home, 0) == 0)
                shown = "~" + shown.substr(std::strlen(home));
            // The end of a long path tells the folders apart: its start goes.
            constexpr size_t kShownCharacters = 34;
            if (shown.size() > kShownCharacters)
                shown = "..." + shown.substr(shown.size() - kShownCharacters + 3);
            text->setText(shown);
        }
}

std::string CLibraryTab::slotText(int32_t slot) const {
    TovanProcess* link = editor.process();
    const auto [name, description] =
        splitText(link != nullptr ? link->menus().text(kPresetsPerBank + slot) : "");
    std::string text = userLabel(slot);
    if (!blank(name) || !blank(description)) text += " (" + name + " " + description + ")";
    return text;
}

bool CLibraryTab::slotEmpty(int32_t slot) const {
    TovanProcess* link = editor.process();
    if (link == nullptr) return true;
    const auto [name, description] = splitText(link->menus().text(kPresetsPerBank + slot));
    return blank(name) && blank(description);
}

void CLibraryTab::setStatus(const std::string& text) {
    if (page != nullptr)
        if (auto* status = dynamic_cast<CCStaticTextCtrl*>(page->object(Role::LibraryStatus)))
            status->setText(text);
}

void CLibraryTab::dropped(CLibraryList& source, CCPoint point, bool copy) {
    const std::vector<int32_t> chosen = source.selectedIds();
    TovanProcess* link = editor.process();
    if (chosen.empty() || link == nullptr || link->session().isBusy()) return;
    // A question's nested loop must not let the poll in between the exchanges.
    const CCEditor::Operation operation(editor);
    const bool onUser = userList != nullptr && userList->isVisible() && userList->getBounds().contains(point);
    const bool onFiles =
        fileList != nullptr && fileList->isVisible() && fileList->getBounds().contains(point);
    if (&source == userList && onUser) {
        const int32_t target = userList->idAt(point);
        if (target < 0) return;
        if (chosen.size() == 1 && !copy)
            swapSlots(chosen[0], target);
        else if (chosen.size() == 1)
            copySlot(chosen[0], target);
        else
            moveSlots(chosen, target, copy);
    } else if (&source == userList && onFiles) {
        exportSlots(chosen);
    } else if (&source == fileList && onUser) {
        const int32_t target = userList->idAt(point);
        if (target >= 0) loadFiles(chosen, target);
    }
}

void CLibraryTab::finished(const Librarian::Outcome& outcome, const std::string& what) {
    std::shared_ptr<EditHistory::SlotRecord> record;
    if (!outcome.written.empty()) {
        record = std::make_shared<EditHistory::SlotRecord>();
        record->slot = outcome.written.front().slot;
        record->before = states(outcome.written, false);
        record->after = states(outcome.written, true);
        record->what = what;
    }
    editor.librarianStepDone(record);
    if (!outcome.ok)
        showError("The library could not finish: " + outcome.failure);
    else if (!outcome.putBack && !outcome.place.empty())
        showError("The Tovan could not be put back on " + outcome.place + " with its edits.");
    setStatus(outcome.ok ? what + ": done." : what + ": stopped.");
    refreshLibrary();
}

void CLibraryTab::swapSlots(int32_t first, int32_t second) {
    TovanProcess* link = editor.process();
    if (link == nullptr || first == second) return;
    Librarian librarian(*link);
    finished(librarian.swap(first, second), "SWAP " + userLabel(first) + " " + userLabel(second));
    // The selection goes with the preset.
    if (userList != nullptr) userList->select({second});
}

void CLibraryTab::copySlot(int32_t source, int32_t target) {
    TovanProcess* link = editor.process();
    if (link == nullptr || source == target) return;
    if (!askYesNo("Copy " + slotText(source) + " onto " + userLabel(target) + "? The preset stored in " +
                  slotText(target) + " is replaced."))
        return;
    Librarian librarian(*link);
    finished(librarian.copy(source, target), "COPY " + userLabel(source) + " " + userLabel(target));
}

void CLibraryTab::moveSlots(const std::vector<int32_t>& slots, int32_t target, bool copy) {
    TovanProcess* link = editor.process();
    if (link == nullptr) return;
    std::vector<int32_t> sources = slots;
    std::sort(sources.begin(), sources.end());
    const auto count = static_cast<int32_t>(sources.size());
    if (target + count > kPresetsPerBank) {
        showError(std::to_string(count) + " presets do not fit from " + userLabel(target) + " to P99.");
        return;
    }
    std::map<int32_t, int32_t> moves;
    if (copy) {
        for (int32_t i = 0; i < count; ++i)
            moves[target + i] = sources[static_cast<size_t>(i)];
        if (!askYesNo("Copy " + std::to_string(count) + " presets onto " + userLabel(target) + "-" +
                      userLabel(target + count - 1) + "? The presets stored there are replaced."))
            return;
    } else {
        moves = Librarian::moveMap(sources, target);
    }
    Librarian librarian(*link);
    finished(librarian.arrange(moves),
             std::string(copy ? "COPY " : "MOVE ") + std::to_string(count) + " TO " + userLabel(target));
    // The selection goes with the presets.
    if (userList != nullptr) {
        std::vector<int32_t> moved;
        for (int32_t i = 0; i < count; ++i)
            moved.push_back(target + i);
        userList->select(moved);
    }
}

void CLibraryTab::loadFiles(const std::vector<int32_t>& chosen, int32_t target) {
    TovanProcess* link = editor.process();
    if (link == nullptr) return;
    std::vector<Librarian::Planned> plan;
    std::vector<std::string> refused;
    for (int32_t id : chosen) {
        if (id < 0 || static_cast<size_t>(id) >= libraryEntries.size()) continue;
        const Librarian::LibraryEntry& entry = libraryEntries[static_cast<size_t>(id)];
        if (entry.state == Librarian::EntryState::Preset)
            plan.push_back({target + static_cast<int32_t>(plan.size()), entry.contents});
        else
            refused.push_back(entry.fileName + ": " + Librarian::stateText(entry.state));
    }
    if (plan.empty()) {
        if (!refused.empty()) showError("This file cannot be loaded: " + refused.front() + ".");
        return;
    }
    const auto count = static_cast<int32_t>(plan.size());
    if (target + count > kPresetsPerBank) {
        showError(std::to_string(count) + " files do not fit from " + userLabel(target) + " to P99.");
        return;
    }
    bool occupied = false;
    for (const Librarian::Planned& planned : plan)
        occupied = occupied || !slotEmpty(planned.slot);
    if (occupied) {
        const std::string where =
            count == 1 ? slotText(target) : userLabel(target) + "-" + userLabel(target + count - 1);
        if (!askYesNo("Load " + (count == 1 ? "this file" : std::to_string(count) + " files") + " into " +
                      where + "? The preset stored there is replaced."))
            return;
    }
    Librarian librarian(*link);
    finished(librarian.write(plan, true), "LOAD " + userLabel(target));
}

void CLibraryTab::exportSlots(const std::vector<int32_t>& slots) {
    TovanProcess* link = editor.process();
    if (link == nullptr) return;
    Librarian librarian(*link);
    Librarian::Outcome all;
    all.ok = true;
    for (int32_t slot : slots) {
        Librarian::Outcome one = librarian.exportSlot(slot, libraryFolder);
        all.putBack = one.putBack;
        all.place = one.place;
        if (!one.ok) {
            all.ok = false;
            all.failure = one.failure;
            break;
        }
    }
    finished(all, "EXPORT " + std::to_string(slots.size()));
}

void CLibraryTab::exportAll() {
    TovanProcess* link = editor.process();
    if (link == nullptr) return;
    const auto chosen = dialogHost().chooseFolder("Export All Presets", libraryFolder.string());
    if (!chosen) return;
    Librarian librarian(*link);
    finished(librarian.exportAll(*chosen), "EXPORT ALL");
}

void CLibraryTab::importFolder() {
    TovanProcess* link = editor.process();
    if (link == nullptr) return;
    const auto chosen = dialogHost().chooseFolder("Import Presets", libraryFolder.string());
    if (!chosen) return;
    const std::vector<int32_t> selected =
        userList != nullptr ? userList->selectedIds() : std::vector<int32_t>{};
    const int32_t first = selected.empty() ? 0 : selected.front();
    const auto entries = Librarian::listFolder(*chosen);
    const auto plan = Librarian::importPlan(entries, first);
    if (plan.empty()) {
        showError("There are no preset files to import in " + *chosen + ".");
        return;
    }
    const auto count = static_cast<int32_t>(plan.size());
    if (first + count > kPresetsPerBank) {
        showError(std::to_string(count) + " preset files do not fit from " + userLabel(first) +
                  " to P99. Select an earlier slot first.");
        return;
    }
    const size_t left = entries.size() - plan.size();
    if (!askYesNo("Import " + std::to_string(count) + " preset files into " + userLabel(first) + "-" +
                  userLabel(first + count - 1) + "? The presets stored there are replaced." +
                  (left > 0 ? " " + std::to_string(left) + " files cannot be read and are left out." : "")))
        return;
    Librarian librarian(*link);
    finished(librarian.import(*chosen, first, true), "IMPORT " + userLabel(first));
}
