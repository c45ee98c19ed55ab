#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/edit_history.h"
#include "link/librarian.h"

class CBackPage;
class CCEditor;
class CLibraryList;
struct CCPoint;

// The library tab's behaviour: the lists filled from the pedal's preset names
// and the library folder, the search, the drags between the lists and the
// export and import buttons. Each operation runs through the librarian and is
// one step of the preset's history; what goes wrong is told in a message box.
class CLibraryTab {
public:
    static constexpr const char* kFolderSetting = "LibraryFolder";

    explicit CLibraryTab(CCEditor& editor);

    // The page was built: the lists are found and their drops heard.
    void attach(CBackPage& page);
    // The tab's own tags: its buttons, lists and search field.
    static bool handles(int32_t tag);
    void valueChanged(int32_t tag, int32_t value);
    // The tab was chosen, or the pedal's names changed: the lists follow.
    void refresh();
    // The user presets again from the names the link holds (cheap, no exchange).
    void refreshPresets();
    void refreshLibrary();

    // The library folder: remembered, else $XDG_DATA_HOME/tovan/library.
    std::filesystem::path folder() const { return libraryFolder; }
    void setFolder(const std::filesystem::path& path);
    static std::filesystem::path defaultFolder();

    // The operations, as the drags and buttons start them (the editor's tests
    // call them directly). Each asks first where it replaces something.
    void swapSlots(int32_t first, int32_t second);
    void copySlot(int32_t source, int32_t target);
    // Several slots dropped at target: each swaps with the slot at its place
    // from the target on (copied with copy).
    void moveSlots(const std::vector<int32_t>& slots, int32_t target, bool copy);
    void loadFiles(const std::vector<int32_t>& entries, int32_t target);
    void exportSlots(const std::vector<int32_t>& slots);
    void exportAll();
    void importFolder();

    const std::vector<Librarian::LibraryEntry>& entries() const { return libraryEntries; }

private:
    void dropped(CLibraryList& source, CCPoint point, bool copy);
    // Shows what went wrong, keeps the step for undo, reads the names again.
    void finished(const Librarian::Outcome& outcome, const std::string& what);
    bool slotEmpty(int32_t slot) const;
    std::string slotText(int32_t slot) const;
    void setStatus(const std::string& text);

    CCEditor& editor;
    CBackPage* page = nullptr;
    CLibraryList* userList = nullptr;
    CLibraryList* factoryList = nullptr;
    CLibraryList* fileList = nullptr;
    std::filesystem::path libraryFolder;
    std::vector<Librarian::LibraryEntry> libraryEntries;
};
