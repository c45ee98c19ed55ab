#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The filter list of the file dialogs: per file type a display string
// "Description (*.ext)" and a pattern "*.ext", then one empty string.
std::vector<std::string> fileFilterList(std::span<const std::string> extensions,
                                        std::span<const std::string> descriptions);
// The extension of the filter at a 1-based index: the text after the first
// dot of its pattern; empty when there is no such filter.
std::string filterExtension(std::span<const std::string> filterList, size_t index);
// Keeps a file name's extension in step with the chosen filter: everything
// after the name's last dot becomes the new extension; a name without a dot
// stays as it is.
std::string nameForFilterChange(std::string_view name, std::string_view extension);
// The path a save dialog writes for the chosen filter's extension: a file name
// without a dot gets the extension, one with another extension has what
// follows its last dot replaced (the rule above); a name that already ends in
// it, and an empty or "*" extension, leave the path as it is.
std::string savedFileName(std::string_view path, std::string_view extension);
