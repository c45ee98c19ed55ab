#pragma once

#include <cstdio>

// tovan-cli: the pedal from the command line, with the editor's own link code.
// Exit status: 0 success, 1 the operation failed (the reason on stderr),
// 2 usage, 3 no pedal.
enum CliStatus { kCliOk = 0, kCliFailed = 1, kCliUsage = 2, kCliNoPedal = 3 };

int runCli(int argc, char** argv, std::FILE* input, std::FILE* output, std::FILE* errors);
