#pragma once

#include <string>
#include <vector>

#include "link/preset_file_codec.h"

// What differs between two backups, as lines a player can read: the file's
// value first, then the pedal's. Empty when they agree.
std::vector<std::string> backupDifferences(const presetfile::DecodedFile& file,
                                           const presetfile::DecodedFile& pedal);
