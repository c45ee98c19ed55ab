#pragma once

#include <set>
#include <string>
#include <vector>

namespace tovan {
class HidBackend;
class CHidDevice;
} // namespace tovan

// Tells the player once why an attached pedal shows as "no pedal": Linux gives
// a new hidraw node to root only, and without the udev rule the editor cannot
// open it. Checked after each connection attempt; each pedal is told about
// once a time it is plugged in.
class PermissionDoctor {
public:
    // The message shown (also what tests compare).
    static const char* const kMessage;

    // After a scan: the paths of pedals the system lists but the editor could
    // not open (those in `attached` were opened, or are held by another program). Shows the message when one
    // of them is new since the last check; a pedal unplugged and plugged back in counts as new. True when it
    // showed the message.
    bool check(tovan::HidBackend& backend, const std::vector<tovan::CHidDevice>& attached);

private:
    std::set<std::string> told;
};
