#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/file_outcome.h"
#include "link/hid_device.h"
#include "link/pedal_view.h"
#include "link/player_questions.h"
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
    // Makes entry index of the attached list the current pedal without reading
    // it (the command-line tool reads only what a command needs).
    bool useDevice(int32_t index);
    bool isConnected() const { return connected; }
    tovan::CHidDevice& currentPedal() { return current; }
    // The attached pedals, in the order of the device selector; pedals held by
    // another program are listed unopened.
    std::vector<tovan::CHidDevice>& attachedPedals() { return attached; }
    // Who holds the pedal the link would use when another program has it (the
    // first attached pedal held elsewhere while none is connected), else nothing.
    std::optional<tovan::ClaimHolder> pedalHeldElsewhere() const;

    // Values.
    void sendParameter(int32_t index, float value);
    void readParameterInfo();
    // One device parameter's value and range (index 9..110); false when the pedal did not answer.
    bool readParameterInfo(int32_t index);
    // Versions, unique identifier and the pedal's name.
    void readDeviceInfo();
    void readParameterValues();
    void readChangedParameters();
    void readParameter(uint16_t command, uint8_t item);
    // Reads every setlist; true when every request was answered. Patient:
    // each request gets a second round of attempts (backup wants all of it).
    bool readSetlists(bool patient = false);
    void reload(bool full);
    void reloadLocked(bool full);
    void pollStatus();
    void idle();

    // Presets.
    int32_t readActivePreset();
    // The active preset, or nothing when the pedal did not answer.
    std::optional<int32_t> queryActivePreset();
    bool selectPresetOnPedal(int32_t preset);
    void readPresetName(int32_t slot, bool user, char out[4]);
    void readPresetDescription(int32_t slot, bool user, char out[24]);
    bool storePreset(const char* name, const char* description, int32_t slot);
    void deletePreset();
    bool revertPreset();
    // Selects a preset as the player would: when the loaded preset holds
    // edits, the player's questions decide whether they are discarded first.
    void selectPreset(int32_t preset);
    void stepPreset(bool up);
    bool setPedalMode(bool on);
    // Resets every setting on the pedal but its name (user presets stay), and
    // reads it again. The caller has asked the player.
    void resetPedal();
    // A user slot as the pedal holds it: its name, description and values.
    struct SlotContents {
        std::string name;
        std::string description;
        std::map<int32_t, int32_t> values;
    };
    // Reads user slot 0-99 whole. It selects the slot on the pedal, so the
    // edit buffer is left; nothing when the pedal did not answer.
    std::optional<SlotContents> readUserSlot(int32_t slot);
    // Stores contents into user slot 0-99, writing only the values that differ
    // from editBuffer (what the edit buffer holds, kept up to date); the slot
    // is the active preset afterwards.
    bool writeUserSlot(int32_t slot, const SlotContents& contents, std::map<int32_t, int32_t>& editBuffer);
    // What the pedal's edit buffer holds now, every preset value; nothing when
    // a block went unanswered.
    std::optional<std::map<int32_t, int32_t>> readEditBuffer();
    // Selects preset and writes the values of edit that differ from its stored ones.
    bool returnToEdit(int32_t preset, const std::map<int32_t, int32_t>& edit);
    void rebuildPresetMenus();
    // "name | description" of a preset as the preset menus last read it; empty before.
    std::string presetText(int32_t preset) const {
        return preset >= 0 && static_cast<size_t>(preset) < presetTexts.size()
                   ? presetTexts[static_cast<size_t>(preset)]
                   : std::string();
    }
    // How a preset menu is filled.
    struct PresetMenuStyle {
        bool allPresets = true;  // the factory presets too, else the user presets only
        bool labels = false;     // the selector shows the whole item ("P05: ..."), else only its text
        bool prefixes = false;   // numbers as "P05" and "F05", else "05"
        bool clear = true;       // the menu is emptied first
        bool reuseTexts = false; // the texts of the last reading, else read from the pedal
    };
    void fillPresetMenu(int32_t tag, const PresetMenuStyle& style);
    bool enterUpdateMode();
    // After a connection the carried firmware is offered once: the editor
    // takes the check (it asks the player) with the image to offer, the one
    // given or else the one the program carries.
    bool takeFirmwareCheck() {
        const bool due = firmwareCheck;
        firmwareCheck = false;
        return due;
    }
    std::span<const uint8_t> firmwareImageToOffer() const;
    void setFirmwareImage(std::span<const uint8_t> image) { firmwareImage = image; }

    // Preset and backup files. The outcome says what the player is told.
    FileOutcome exportPresetTo(const std::string& path);
    FileOutcome saveBackupTo(const std::string& path);
    // A whole backup read from the pedal into memory, the pedal put back
    // where it was. failure says why there are no bytes.
    struct BackupRead {
        std::vector<uint8_t> bytes;
        std::string failure;
        std::string place; // "P12 with its mode switch on"
        bool putBack = false;
    };
    BackupRead readBackup();
    // The file at path decoded, or nothing when it could not be opened (the
    // outcome says so). A file larger than the format allows decodes as none of ours.
    std::optional<presetfile::DecodedFile> openFile(const std::string& path, FileOutcome& outcome);
    // A readable backup: loading it restores the whole pedal, which the caller
    // asks the player about first.
    static bool restoresPedal(const presetfile::DecodedFile& file);
    // Loads a decoded file; path names it (a preset takes its base name). A
    // backup is restored. ok when the whole file was loaded.
    FileOutcome loadDecodedFile(const presetfile::DecodedFile& file, const std::string& path);
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
    // How many restores have begun: a restore rewrites the presets and the globals.
    uint32_t restoresBegun() const { return restores; }
    // Whether the values reaching the controls now came from the pedal (they
    // are never written back), and whether they are changes made on the pedal
    // itself (its knobs), as against a reload or the setlist page being filled.
    bool readingPedal() const { return echoSuppressed || fillingSetlistPage; }
    bool followingPedalChanges() const { return readingChanges && !fillingSetlistPage; }
    void setBulkBusy(bool on) { bulkBusy = on; }
    void setNamesChanged() { namesChanged = true; }
    void requestClosePanel() { closePanelRequested = true; }
    bool firmwareCheckPending() const { return firmwareCheck; }
    PedalView* view() const { return pageView; }
    void setView(PedalView* newView) { pageView = newView; }
    // Who decides what the link cannot (nothing: edits are kept).
    void setQuestions(PlayerQuestions* newQuestions) { questions = newQuestions; }
    // Replaces the pause used between exchanges (tests pass time by hand).
    void setSleeper(Sleeper sleeper) { sleep = std::move(sleeper); }
    void pause(std::chrono::milliseconds duration) { sleep(duration); }
    tovan::proto::Payload lastStatus() const { return statusRecord; }
    // Exchanges that failed all their attempts since the link owner was made.
    uint64_t failedExchanges() const { return exchangeFailures; }
    // Exchanges made, whatever they came to, since the link owner was made.
    uint64_t exchanges() const { return exchangeCount; }
    // What a full reload of the pedal the simulator models takes, until one
    // has been counted: the device's identity, 200 preset names, the setlists,
    // the 102 ranges and the loaded preset.
    static constexpr uint64_t kFullReloadExchanges = 1227;

private:
    // Marks a stretch that reads the pedal: value changes that the reading
    // causes in controls are not written back, whatever their tag.
    class ReadingPedal {
    public:
        explicit ReadingPedal(TovanProcess& process)
            : process(process), wasSuppressed(process.echoSuppressed) {
            process.echoSuppressed = true;
        }
        ~ReadingPedal() { process.echoSuppressed = wasSuppressed; }
        ReadingPedal(const ReadingPedal&) = delete;
        ReadingPedal& operator=(const ReadingPedal&) = delete;

    private:
        TovanProcess& process;
        bool wasSuppressed;
    };

    // A value that came from the pedal: into the parameter set, then into the
    // control that shows it, without being written back.
    void showPedalValue(int32_t index, int32_t value);
    // True when nothing is edited, or the player lets the edits go (they are reverted).
    bool confirmDiscard();
    void applySetlistEdit(int32_t index, int32_t value);
    void setLockedState(bool on);
    void followModeSwitch(bool on);
    // Appends the loaded preset as a "pret" chunk, with its name from the pedal.
    void writePresetChunk(presetfile::Writer& writer);
    // A value read from a file reaches the pedal as if its control had been
    // turned: clamped to the range, then sent.
    void applyFileValue(int32_t index, int32_t value);
    // Where backup and restore found the pedal, to put it back there.
    struct PedalPlace {
        int32_t preset = 0;
        bool modeSwitch = false;
    };
    bool pedalGone() const;
    // A second round of three attempts, for the bulk operations.
    std::optional<tovan::proto::Payload> requestPatiently(uint8_t group, uint16_t command,
                                                          const Address& address = {});
    bool writePatiently(uint8_t group, uint16_t command, const Address& address,
                        const tovan::proto::Payload& data = {});
    std::optional<PedalPlace> readPedalPlace();
    bool putPedalBack(const PedalPlace& place);
    // Waits up to a second for status bit 4, then asks the active preset. The
    // status is read a pacing step after askedAt (when the pedal was told to
    // switch), then a step after each read began.
    enum class PresetWait { Active, TimedOut, Failed };
    PresetWait confirmActivePreset(int32_t preset, uint32_t askedAt);
    // Selects the user slot and appends its "pret" chunk from what the pedal
    // answered; the reason it could not, or empty.
    std::string readUserPresetChunk(int32_t slot, presetfile::Writer& writer);
    // Every value of the preset (commands 5-7) or of the globals (command 8),
    // in editor units; false when a block went unanswered.
    bool readValueBlocks(bool preset, std::map<int32_t, int32_t>& values);
    // Writes a value read from a backup, unless the edit buffer is known to
    // hold it already; known follows what the edit buffer holds.
    bool writeRestoredValue(int32_t index, int32_t value, std::map<int32_t, int32_t>& known);
    bool storeRestoredPreset(const presetfile::PresetContents& preset, int32_t slot,
                             std::map<int32_t, int32_t>& known);
    std::vector<int32_t> namesThatDiffer(const presetfile::DecodedFile& file,
                                         const std::vector<bool>& stored);
    // pedalError gathers what went wrong on the pedal, empty when nothing did.
    bool restoreBackup(const presetfile::DecodedFile& file, std::string& pedalError);
    // "name | description" of a preset, read from the pedal or reused from the last read.
    std::string presetMenuText(int32_t preset, bool reuse);

    // Link state, in the order the pedal's documentation lists it.
    std::array<char, 4> currentName{};
    std::array<char, 24> currentDescription{};
    bool connected = false;
    tovan::CHidDevice current;
    std::vector<tovan::CHidDevice> attached;
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
    uint64_t exchangeFailures = 0;
    uint64_t exchangeCount = 0;
    // The progress of a full reload on the page: from which exchange, how many
    // it is expected to take, and the share last shown (-1: not reading).
    uint64_t readingFrom = 0;
    uint64_t readingExpected = kFullReloadExchanges;
    int32_t readingShown = -1;
    void showReadingProgress();
    std::span<const uint8_t> firmwareImage;
    // Set while the setlist page is filled from the records, so the slot
    // selectors' notifications are not written back to the pedal.
    bool fillingSetlistPage = false;
    uint32_t restores = 0;
    // Set while the values the pedal reports changed are read.
    bool readingChanges = false;
    std::vector<std::string> presetTexts;
    const Clock* clock = &steadyClock();
    PlayerQuestions* questions = nullptr;
};
