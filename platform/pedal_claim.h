#pragma once

// One program at a time on a pedal. Answers carry no sequence number and every
// open handle on a pedal receives every answer, so two programs exchanging
// with one pedal read each other's answers. A program exchanges with a pedal
// only while it holds the pedal's claim: an exclusive advisory lock (flock) on
// a lock file named after the pedal's interface path, which the kernel drops
// when the process ends, however it ends. The holder writes its program name
// and process id into the file, so the others can say who has the pedal.

#include <memory>
#include <optional>
#include <string>

namespace tovan {

struct ClaimHolder {
    std::string program; // empty when the holder has not written its name yet
    long pid = 0;

    // "tovan-cli (pid 4242)", or "another program".
    std::string text() const;
};

// A claim held by this process. Every handle of the process on the same pedal
// shares one claim; the lock goes when the last of them lets go.
class PedalClaim {
public:
    ~PedalClaim();
    PedalClaim(const PedalClaim&) = delete;
    PedalClaim& operator=(const PedalClaim&) = delete;

    const std::string& path() const { return path_; }
    // False in a child forked from the process that took it.
    bool ownedByThisProcess() const;

private:
    friend std::shared_ptr<PedalClaim> claimPedal(const std::string&, ClaimHolder*);
    PedalClaim(std::string path, int fd, long owner) : path_(std::move(path)), fd_(fd), owner_(owner) {}

    std::string path_;
    int fd_;
    // The process that took it. A child forked from it shares the lock (and
    // keeps the pedal from others) but does not hold the claim itself.
    long owner_;
};

// Takes (or shares, within this process) the claim on the pedal at
// `interfacePath`. Never waits: nullptr when another program holds it, with
// `heldBy` (when given) saying who; nullptr with an empty holder when no lock
// file can be made at all.
std::shared_ptr<PedalClaim> claimPedal(const std::string& interfacePath, ClaimHolder* heldBy = nullptr);

// Who holds the pedal's claim when another program does; nothing when it is
// free or held by this process. Takes nothing.
std::optional<ClaimHolder> pedalClaimHolder(const std::string& interfacePath);

// The folder of the lock files: $XDG_RUNTIME_DIR/tovan-claims, else
// /run/user/<uid>/tovan-claims when that exists (a cron job has no
// XDG_RUNTIME_DIR), else /tmp/tovan-claims-<uid>.
std::string claimFolder();

// The name the claim gives for this process (the program's own name unless set).
void setClaimProgramName(std::string name);

} // namespace tovan
