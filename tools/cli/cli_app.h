#pragma once

#include <cstdio>
#include <string>
#include <vector>

class PedalView;
namespace tovan {
class HidBackend;
}

// tovan-cli: the pedal from the command line, with the editor's own link code.
// Exit status: 0 success, 1 the operation failed (the reason on stderr),
// 2 usage, 3 no pedal.
enum CliStatus { kCliOk = 0, kCliFailed = 1, kCliUsage = 2, kCliNoPedal = 3 };

int runCli(int argc, char** argv, std::FILE* input, std::FILE* output, std::FILE* errors);

// The editor runs a command for tovan-cli with this, on the pedals it has open
// (`pedals`), on the one at `pedalPath`: the same text, JSON and exit status as
// tovan-cli would give. `arguments` are tovan-cli's, without the program name;
// only commands that read the pedal are run. Progress also shows on `progress`.
int runCliServed(const std::vector<std::string>& arguments, tovan::HidBackend& pedals,
                 const std::string& pedalPath, PedalView* progress, std::FILE* output, std::FILE* errors);
