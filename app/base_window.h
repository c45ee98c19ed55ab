#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class GtkMainWindow;

// A top-level window of the program with its placement kept in the settings
// store (a 32-bit number under the program's key). The system window is made by
// Create and lives until DestroySystemWindow or the destructor, which saves
// where it was.
class CBaseWindow {
public:
    CBaseWindow();
    virtual ~CBaseWindow();
    CBaseWindow(const CBaseWindow&) = delete;
    CBaseWindow& operator=(const CBaseWindow&) = delete;

    // Makes the system window once: placed where it was last time, or centred.
    virtual GtkMainWindow* Create(std::string_view title);
    virtual void DestroySystemWindow();
    // Called last by Create.
    virtual void Created() {}

    GtkMainWindow* systemWindow() const { return window.get(); }
    // Stores the window's position now (also done when it is destroyed).
    void savePosition();

protected:
    std::unique_ptr<GtkMainWindow> window;
    std::string positionValueName;
    int32_t x = 100;
    int32_t y = 100;
    int32_t width = 50;
    int32_t height = 50;
    bool centreIfNotRestored = false;

private:
    bool restorePosition();
};
