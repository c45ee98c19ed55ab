#pragma once

#include <cstdint>

// Tags of the editor's controls that name no parameter: display-only controls
// and the commands the editor window carries out. Parameter tags are named with
// the parameter set (model/pedal_parameters.h).
namespace etag {
// Texts, lamps and displays that only show something.
inline constexpr int32_t kDisplay = 175;
// Preferences.
inline constexpr int32_t kPotControl = 177;
inline constexpr int32_t kTopmost = 178;
// Commands.
inline constexpr int32_t kTabSelector = 181;
inline constexpr int32_t kViewSwitch = 182;
inline constexpr int32_t kUndo = 183;
inline constexpr int32_t kRedo = 184;
inline constexpr int32_t kCompare = 186;
inline constexpr int32_t kMakerPage = 185;
inline constexpr int32_t kClose = 188;
inline constexpr int32_t kSetTopmost = 189;
inline constexpr int32_t kMinimise = 190;
inline constexpr int32_t kExportOrBackup = 191;
inline constexpr int32_t kFirmwareUpdate = 192;
inline constexpr int32_t kNextPreset = 194;
inline constexpr int32_t kPreviousPreset = 195;
inline constexpr int32_t kStorePreset = 196;
inline constexpr int32_t kRefreshPresetList = 197;
inline constexpr int32_t kHeelOrientation = 199;
inline constexpr int32_t kToeOrientation = 200;
inline constexpr int32_t kSwapFilter1 = 201; // filter 2: 202
inline constexpr int32_t kLoadFile = 203;
inline constexpr int32_t kStorePanel = 204;
inline constexpr int32_t kDiscardChanges = 205;
inline constexpr int32_t kDeletePreset = 206;
inline constexpr int32_t kResetPedal = 207;
// The library tab's buttons.
inline constexpr int32_t kExportAll = 187;
inline constexpr int32_t kImportFolder = 193;
inline constexpr int32_t kLibraryFolder = 198;
// The first and last command tags.
inline constexpr int32_t kFirstCommand = kTabSelector;
inline constexpr int32_t kLastCommand = 208;
// The store panel's slot menu and its name and description texts: slots no
// parameter uses, so the panel's controls bind to nothing.
inline constexpr int32_t kStoreSlot = 2;
inline constexpr int32_t kStoreName = 3;
inline constexpr int32_t kStoreDescription = 4;
// The library tab's lists and its search field: no commands, the tab's own.
inline constexpr int32_t kUserList = 210;
inline constexpr int32_t kFactoryList = 211;
inline constexpr int32_t kLibraryList = 212;
inline constexpr int32_t kLibrarySearch = 213;
} // namespace etag

// The main page's id and its tab groups.
inline constexpr int32_t kMainPageId = 101;
inline constexpr int32_t kTabCount = 5;
inline constexpr int32_t kLibraryTab = 4;
constexpr uint16_t tabGroup(int32_t tab) {
    return static_cast<uint16_t>(1u << tab);
}
