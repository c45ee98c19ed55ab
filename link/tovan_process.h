#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/hid_device.h"
#include "link/pedal_view.h"
#include "link/preset_file_codec.h"
#include "link/protocol.h"
#include "model/cvs_process.h"
#include "platform/clock.h"

// The link owner: the pedal's parameter set, the current pedal and
// everything said to it. Every exchange runs on the user-interface thread.
class TovanProcess : public CVSProcess {
public:
    struct SetlistRecord {
        std::vector<uint8_t> slots; // per slot: preset (255 empty), then program
        bool flag = false;
        std::array<char, 33> name{};

        uint8_t preset(int32_t slot) const { return slots[static_cast<size_t>(2 * slot)]; }
        uint8_t program(int32_t slot) const { return slots[static_cast<size_t>(2 * slot + 1)]; }
    };

    using Address = std::array<uint8_t, 4>;
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    explicit TovanProcess(tovan::HidBackend& backend, PedalView* view = nullptr);
    ~TovanProcess() override;

    void BuildParameters() override;

    // One exchange, up to three attempts: a header, then the data (write) or the answer (request).
    bool transact(tovan::CHidDevice& device, uint8_t direction, uint8_t group, uint16_t command,
                  const Address& address, tovan::proto::Payload& data);
    bool write(uint8_t group, uint16_t command, const Address& address, tovan::proto::Payload data = {});
    std::optional<tovan::proto::Payload> request(uint8_t group, uint16_t command,
                                                 const Address& address = {});

    // Connection.
    bool connectPedal();
    void refreshDeviceMenu();
    void selectDevice(int32_t index);
    bool isConnected() const { return connected; }
    tovan::CHidDevice& currentPedal() { return current; }

    // Values.
    void sendParameter(int32_t index, float value);
    void readParameterInfo();
    void readParameterValues();
    void readChangedParameters();
    void readParameter(uint16_t command, uint8_t item);
    void readSetlists();
    void reload(bool full);
    void reloadLocked(bool full);
    void pollStatus();
    void idle();

    // Presets.
    int32_t readActivePreset();
    bool selectPresetOnPedal(int32_t preset);
    void readPresetName(int32_t slot, bool user, char out[4]);
    void readPresetDescription(int32_t slot, bool user, char out[24]);
    bool storePreset(const char* name, const char* description, int32_t slot);
    void deletePreset();
    bool revertPreset();
    bool confirmDiscard();
    void selectPreset(int32_t preset);
    void stepPreset(bool up);
    bool setPedalMode(bool on);
    void resetPedal();
    void rebuildPresetMenus();
    void fillPresetMenu(int32_t tag, bool allPresets, bool labels, bool prefixes, bool clear);
    bool enterUpdateMode();
    // Offers the carried firmware once after a connection (the program supplies the image).
    void checkFirmware();
    void setFirmwareImage(std::span<const uint8_t> image) { firmwareImage = image; }

    // Preset and backup files. The *To and loadFile forms take a path; the others
    // ask for one first. Failures are told to the user in message boxes.
    void exportPreset();
    bool exportPresetTo(const std::string& path);
    void saveBackup();
    bool saveBackupTo(const std::string& path);
    // True when the whole file was loaded.
    bool loadFile(const std::string& path);
    void chooseAndLoadFile();
    // Times the waits of backup and restore (tests drive it by hand).
    void setClock(const Clock* newClock) { clock = newClock != nullptr ? newClock : &steadyClock(); }

    // Setlists.
    void refreshSetlistPage();
    const std::vector<SetlistRecord>& setlists() const { return setlistTable; }
    uint8_t setlistCount() const { return setlistCountValue; }
    uint8_t slotsPerSetlist() const { return slotsPerSetlistValue; }

    // Link state.
    const char* presetName() const { return currentName.data(); }
    const char* presetDescription() const { return currentDescription.data(); }
    std::array<uint8_t, 3> firmware() const { return firmwareVersion; }
    std::array<uint8_t, 3> secondFirmware() const { return secondVersion; }
    const char* uniqueId() const { return uniqueIdText.data(); }
    int32_t loadedPreset() const { return static_cast<int32_t>(loadedPresetNumber); }
    bool isLocked() const { return locked; }
    bool isEdited() const { return edited; }
    bool isBusy() const { return bulkBusy; }
    void setBulkBusy(bool on) { bulkBusy = on; }
    void setNamesChanged() { namesChanged = true; }
    void requestClosePanel() { closePanelRequested = true; }
    bool firmwareCheckPending() const { return firmwareCheck; }
    PedalView* view() const { return pageView; }
    void setView(PedalView* newView) { pageView = newView; }
    // Replaces the pause used between exchanges (tests pass time by hand).
    void setSleeper(Sleeper sleeper) { sleep = std::move(sleeper); }
    void pause(std::chrono::milliseconds duration) { sleep(duration); }
    tovan::proto::Payload lastStatus() const { return statusRecord; }

private:
    // A value that came from the pedal: into the parameter set, then into the
    // control that shows it, without being written back.
    void showPedalValue(int32_t index, int32_t value);
    void applySetlistEdit(int32_t index, int32_t value);
    void setLockedState(bool on);
    // Appends the loaded preset as a "pret" chunk, with its name from the pedal.
    void writePresetChunk(presetfile::Writer& writer);
    // A value read from a file reaches the pedal as if its control had been
    // turned: clamped to the range, then sent.
    void applyFileValue(int32_t index, int32_t value);
    // Waits up to a second for the pedal to report a new active preset.
    enum class PresetWait { Active, TimedOut, Failed, Edited };
    PresetWait waitForActivePreset(bool stopOnFailure);
    bool restoreBackup(const presetfile::DecodedFile& file, bool& pedalError);
    void fillPresetMenuFrom(int32_t tag, bool allPresets, bool labels, bool prefixes, bool clear,
                            bool reuseTexts);
    // "name | description" of a preset, read from the pedal or reused from the last read.
    std::string presetMenuText(int32_t preset, bool reuse);

    // Link state, in the order the pedal's documentation lists it.
    std::array<char, 4> currentName{};
    std::array<char, 24> currentDescription{};
    bool connected = false;
    tovan::CHidDevice current;
    std::array<uint8_t, 3> firmwareVersion{255, 255, 255};
    std::array<uint8_t, 3> secondVersion{255, 255, 255};
    std::array<char, 32> uniqueIdText{};
    uint32_t loadedPresetNumber = 0;
    bool locked = false;
    bool edited = false;
    bool echoSuppressed = false;
    bool namesChanged = false;
    bool closePanelRequested = false;
    bool firmwareCheck = false;
    bool bulkBusy = false;
    bool reloading = false;
    uint8_t setlistCountValue = 0;
    uint8_t slotsPerSetlistValue = 0;
    std::vector<SetlistRecord> setlistTable;

    tovan::HidBackend& backend;
    PedalView* pageView;
    tovan::proto::Payload statusRecord{};
    Sleeper sleep;
    std::span<const uint8_t> firmwareImage;
    // Set while the setlist page is filled from the records, so the slot
    // selectors' notifications are not written back to the pedal.
    bool fillingSetlistPage = false;
    std::vector<std::string> presetTexts;
    const Clock* clock = &steadyClock();
    // Where the file dialogs open next.
    std::string fileFolder;
};
