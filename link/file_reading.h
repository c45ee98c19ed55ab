#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reading a preset or backup file whole, refusing what cannot be one: a
// folder, a device, a pipe, or anything larger than the format allows. Used by
// the editor and the command-line tool alike.
namespace presetfile {

enum class ReadProblem {
    None,
    Missing,    // no such file, or it cannot be opened
    NotAFile,   // a folder, a device, a pipe or a socket
    TooLarge,   // more than kMaxFileSize bytes
    Unreadable, // opened, but reading failed
};

struct FileBytes {
    std::vector<uint8_t> bytes;
    ReadProblem problem = ReadProblem::None;
};

FileBytes readFileBytes(const std::string& path);

// "PATH is a folder or a device, not a file", and so on; empty for None.
std::string readProblemText(ReadProblem problem, const std::string& path);

} // namespace presetfile
