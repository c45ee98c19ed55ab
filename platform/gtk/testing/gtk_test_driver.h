#pragma once

#include <memory>
#include <string>
#include <vector>

// Drives GTK for tests on a (virtual) X server, so that tests reach the real
// window and dialogs without including GTK themselves.
namespace gtktest {

// Starts GTK on X11; false without a display.
bool start();
// Runs what the loop has waiting (a bounded number of turns).
void drainLoop();

// Plays the user in the dialogs GTK runs while it lives: types a name into the
// save chooser and accepts it, and answers every message box with Yes or No,
// keeping its text.
class DialogPlayer {
public:
    DialogPlayer(std::string typed, bool answerYes);
    ~DialogPlayer();
    DialogPlayer(const DialogPlayer&) = delete;
    DialogPlayer& operator=(const DialogPlayer&) = delete;

    const std::vector<std::string>& questions() const;
    // Whether a chooser was given the name.
    bool typedName() const;

    struct State;

private:
    std::unique_ptr<State> state;
};

} // namespace gtktest
