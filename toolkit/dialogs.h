#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "toolkit/geometry.h"

// Message boxes titled with the application's display name.
// "%s Warning", OK and Cancel: true for OK.
bool confirmWarning(std::string_view text);
// "%s", Yes and No: true for Yes.
bool askYesNo(std::string_view text);
// "%s Error" and "%s Info", OK.
MessageAnswer showError(std::string_view text);
MessageAnswer showInfo(std::string_view text);

// File dialogs for a list of file types (the first extension is the default).
// folder is where the dialog opens; with keepName, a chosen file's folder is
// written back to it so the next dialog opens there. For saving, path holds
// the proposed name; without keepName the open dialog starts with none.
bool askOpenFile(std::string_view title, std::span<const std::string> extensions,
                 std::span<const std::string> descriptions, std::string& folder, std::string& path,
                 bool keepName);
bool askSaveFile(std::string_view title, std::span<const std::string> extensions,
                 std::span<const std::string> descriptions, std::string& folder, std::string& path,
                 bool keepName);

// A known folder, with a separator at its end when asked; nothing on failure.
std::optional<std::string> knownFolder(KnownFolder kind, bool withSlash);
bool openWithShell(std::string_view pathOrAddress);

// Where a window of the given size goes so that its centre is the screen's
// centre (integer halves); its size is kept.
CCRect centreOnScreen(CCRect window, int32_t screenWidth, int32_t screenHeight);

// The list deletion prompt: true when the user agrees.
bool confirmListDeletion();
