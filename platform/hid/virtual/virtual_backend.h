#pragma once

// Pedals served by other processes over the virtual bus: each attached pedal is
// a UNIX stream socket in one folder, named with its vid_XXXX&pid_XXXX; its
// interface path is "virtual:" and the socket's full path. Opening is
// connect(); every operation is one frame and waits for the answer with the
// same sequence number, dropping late answers to abandoned operations.

#include "platform/hid_backend.h"

namespace tovan {

// The bus folder: `explicitFolder` when given and not empty, else
// $TOVAN_VIRTUAL_DIR, else $XDG_RUNTIME_DIR/tovan-virtual, else
// /tmp/tovan-virtual-<uid>.
std::string virtualBusFolder(const std::string& explicitFolder = {});

class VirtualHidBackend : public HidBackend {
public:
    explicit VirtualHidBackend(std::string folder);

    // The sockets of the folder, sorted by name; empty when there is no folder.
    std::optional<std::vector<std::string>> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    // Watches the folder with inotify (creating it when missing).
    std::unique_ptr<HotplugMonitor> watch(std::function<void()> devicesChanged) override;

    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
};

} // namespace tovan
