#include "editor/permission_doctor.h"

#include "link/hid_device.h"
#include "platform/hid_backend.h"
#include "toolkit/dialogs.h"

#include <algorithm>
#include <cctype>

const char* const PermissionDoctor::kMessage =
    "A Tovan is plugged in, but this user may not open it.\n\n"
    "Linux gives new USB devices of this kind to root only. Install the editor's udev rule once, then plug "
    "the "
    "pedal in again:\n\n"
    "sudo install -m 644 70-tovan.rules /etc/udev/rules.d/\n"
    "sudo udevadm control --reload\n"
    "sudo udevadm trigger --subsystem-match=hidraw\n\n"
    "(The rule is in the editor's resources folder, or installed as /usr/lib/udev/rules.d/70-tovan.rules.)";

namespace {

bool isPedalPath(std::string path, const std::string& pattern) {
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return path.find(pattern) != std::string::npos;
}

} // namespace

bool PermissionDoctor::check(tovan::HidBackend& backend, const std::vector<tovan::CHidDevice>& attached) {
    const auto paths = backend.enumerate();
    if (!paths) return false;
    const std::string pattern = tovan::pedalPattern();
    std::set<std::string> closed;
    for (const std::string& path : *paths) {
        if (!isPedalPath(path, pattern)) continue;
        // Listed and not openable: the opened ones are in the attached list.
        bool open = false;
        for (const tovan::CHidDevice& device : attached)
            open = open || device.path() == path;
        if (!open && !backend.open(path)) closed.insert(path);
    }
    // Pedals that went away may be told about again when they come back.
    for (auto it = told.begin(); it != told.end();)
        it = closed.count(*it) ? std::next(it) : told.erase(it);
    bool fresh = false;
    for (const std::string& path : closed)
        fresh = told.insert(path).second || fresh;
    if (!fresh) return false;
    showError(kMessage);
    return true;
}
