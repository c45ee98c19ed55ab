#pragma once

#include <string>
#include <vector>

#include "platform/gtk/gtk_application.h"

class CCEditor;

// Runs a command tovan-cli handed to the editor, through the editor's own
// pedals, with the backup's progress on the editor's page; the editor then
// reads the pedal again, since the command's reads took the changes its poll
// would have seen. The caller runs it between the editor's operations.
CommandReply runCommandForCli(CCEditor& editor, const std::vector<std::string>& arguments,
                              const std::string& pedalPath);
