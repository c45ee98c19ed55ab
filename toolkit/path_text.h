#pragma once

#include <string>
#include <string_view>

inline constexpr char kPathSeparator = '/';

// The folder part of a path, as typed or quoted on a command line: leading
// spaces and quotes are skipped; the path ends at the closing quote, or
// (unquoted, with stopAtSpace) at the first space. The folder runs up to the
// last separator, which is dropped unless it is the root. Empty when the path
// has no separator.
std::string folderOf(std::string_view path, bool stopAtSpace);
// The path with one separator at its end.
std::string appendSlash(std::string_view path);
// The file name without folder and extension.
std::string baseNameOf(std::string_view path);
