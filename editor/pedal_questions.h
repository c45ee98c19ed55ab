#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "link/file_outcome.h"
#include "link/firmware_update.h"
#include "link/player_questions.h"
#include "link/preset_file_codec.h"

class TovanProcess;

// The player's side of the link's operations: ask, then call the link, then
// tell. Every question, message box and file dialog about the pedal goes
// through here, to the dialogs interface (a window's dialogs in the editor,
// the terminal in tovan-cli, a script in tests). folder is where the file
// dialogs open, kept from one to the next.
namespace asking {

// The questions the link needs answered in the middle of an operation, asked
// in message boxes.
class DialogQuestions : public PlayerQuestions {
public:
    bool discardEdits() override;
};

// Tells the problems of an outcome as error boxes, in order; its ok.
bool tell(const FileOutcome& outcome);

// Asks, and resets the pedal's settings on a yes.
void resetPedal(TovanProcess& process);

// Preset and backup files. The *To, loadFile and loadDecodedFile forms take a
// path; the others ask for one first. A backup is restored only after two yeses.
void exportPreset(TovanProcess& process, std::string& folder);
bool exportPresetTo(TovanProcess& process, const std::string& path);
void saveBackup(TovanProcess& process, std::string& folder);
bool saveBackupTo(TovanProcess& process, const std::string& path);
void chooseAndLoadFile(TovanProcess& process, std::string& folder);
// True when the whole file was loaded.
bool loadFile(TovanProcess& process, const std::string& path);
bool loadDecodedFile(TovanProcess& process, const presetfile::DecodedFile& file, const std::string& path);

// Firmware. The offer after a connection, once, when the link has one due.
void checkFirmware(TovanProcess& process);
// The offer of image to a pedal of that version: asked, the image written
// beside the user's data, handed to the updater, and deleted again.
void offerFirmware(firmware::Version pedal, std::span<const uint8_t> image,
                   const std::function<bool()>& enterUpdateMode);
// The update with a file the player picked (kept afterwards), and what went wrong told.
void updateFirmware(std::string_view imagePath, const std::function<bool()>& enterUpdateMode);
void chooseAndUpdateFirmware(TovanProcess& process, std::string& folder);

} // namespace asking
