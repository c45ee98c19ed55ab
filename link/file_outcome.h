#pragma once

#include <string>
#include <vector>

// What a file operation of the link came to: whether it did all it should,
// and what the player is told about it, in the order it is told (nothing
// when all went well, or when there is nothing to say, as for a file that
// is none of ours).
struct FileOutcome {
    bool ok = false;
    std::vector<std::string> problems;

    static FileOutcome done() { return {true, {}}; }
    static FileOutcome failed(std::string problem) { return {false, {std::move(problem)}}; }
};
