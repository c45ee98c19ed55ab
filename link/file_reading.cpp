#include "link/file_reading.h"

#include <filesystem>
#include <fstream>

#include "link/preset_file_format.h"

namespace presetfile {

FileBytes readFileBytes(const std::string& path) {
    FileBytes result;
    std::error_code error;
    // Checked before opening: opening a pipe would wait for a writer, and a
    // device such as /dev/zero never ends.
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        result.problem = ReadProblem::Missing;
        return result;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result.problem = ReadProblem::NotAFile;
        return result;
    }
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        result.problem = ReadProblem::Unreadable;
        return result;
    }
    if (size > kMaxFileSize) {
        result.problem = ReadProblem::TooLarge;
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.problem = ReadProblem::Missing;
        return result;
    }
    // A file that grows while it is read is still cut off past the limit.
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        result.bytes.insert(result.bytes.end(), buffer, buffer + in.gcount());
        if (result.bytes.size() > kMaxFileSize) {
            result.bytes.clear();
            result.problem = ReadProblem::TooLarge;
            return result;
        }
    }
    if (in.bad()) {
        result.bytes.clear();
        result.problem = ReadProblem::Unreadable;
    }
    return result;
}

std::string readProblemText(ReadProblem problem, const std::string& path) {
    switch (problem) {
    case ReadProblem::None:
        return {};
    case ReadProblem::Missing:
        return "cannot open " + path;
    case ReadProblem::NotAFile:
        return path + " is a folder, a device or a pipe, not a file";
    case ReadProblem::TooLarge:
        return path + " is larger than 4 MB: it is not a Tovan preset or backup file";
    case ReadProblem::Unreadable:
        return "cannot read " + path;
    }
    return {};
}

} // namespace presetfile
