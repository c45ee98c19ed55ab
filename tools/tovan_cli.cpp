// tovan-cli: presets, settings and backups of a Tovan from the command line.
#include <cstdio>

#include "tools/cli/cli_app.h"

int main(int argc, char** argv) {
    return runCli(argc, argv, stdin, stdout, stderr);
}
