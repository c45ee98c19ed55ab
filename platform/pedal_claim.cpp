#include "platform/pedal_claim.h"

#include "platform/trace.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovan {
namespace {

std::mutex claimsMutex;
// The claims this process holds, by interface path.
std::map<std::string, std::weak_ptr<PedalClaim>>& heldClaims() {
    static std::map<std::string, std::weak_ptr<PedalClaim>> claims;
    return claims;
}

std::string& programName() {
    static std::string name = program_invocation_short_name;
    return name;
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A file name for the interface path: its letters and digits, then a hash of
// the whole path so that two paths that differ only in punctuation differ.
std::string lockFileName(const std::string& interfacePath) {
    std::string name;
    for (char c : interfacePath) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        name += plain ? c : '_';
    }
    if (name.size() > 120) name.erase(0, name.size() - 120);
    uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : interfacePath)
        hash = (hash ^ c) * 1099511628211ull;
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "-%016llx.lock", static_cast<unsigned long long>(hash));
    return name + suffix;
}

int openLockFile(const std::string& interfacePath) {
    const std::string folder = claimFolder();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        tovanTrace("pedal claim: cannot make %s\n", folder.c_str());
        return -1;
    }
    const std::string file = folder + "/" + lockFileName(interfacePath);
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) tovanTrace("pedal claim: cannot open %s\n", file.c_str());
    return fd;
}

ClaimHolder readHolder(int fd) {
    char text[256] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    ClaimHolder holder;
    if (got <= 0) return holder;
    text[got] = 0;
    // "NAME PID\n"
    std::string line(text);
    if (const size_t end = line.find('\n'); end != std::string::npos) line.resize(end);
    const size_t space = line.rfind(' ');
    if (space == std::string::npos) return holder;
    char* end = nullptr;
    const long pid = std::strtol(line.c_str() + space + 1, &end, 10);
    if (end == nullptr || *end != 0 || pid <= 0) return holder;
    holder.program = line.substr(0, space);
    holder.pid = pid;
    return holder;
}

void writeHolder(int fd) {
    const std::string line = programName() + " " + std::to_string(static_cast<long>(::getpid())) + "\n";
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, line.data(), line.size(), 0) != ssize_t(line.size()))
        tovanTrace("pedal claim: cannot write the holder\n");
}

std::shared_ptr<PedalClaim> heldHere(const std::string& interfacePath) {
    auto& claims = heldClaims();
    const auto found = claims.find(interfacePath);
    if (found == claims.end()) return nullptr;
    if (auto claim = found->second.lock(); claim && claim->ownedByThisProcess()) return claim;
    claims.erase(found);
    return nullptr;
}

} // namespace

bool PedalClaim::ownedByThisProcess() const {
    return owner_ == ::getpid();
}

std::string ClaimHolder::text() const {
    if (program.empty()) return "another program";
    return program + " (pid " + std::to_string(pid) + ")";
}

PedalClaim::~PedalClaim() {
    {
        const std::lock_guard<std::mutex> lock(claimsMutex);
        auto& claims = heldClaims();
        if (const auto found = claims.find(path_); found != claims.end() && found->second.expired())
            claims.erase(found);
    }
    // Emptied first, so that nobody reads a holder that has gone; a forked
    // child leaves its parent's name alone.
    if (ownedByThisProcess() && ::ftruncate(fd_, 0) != 0)
        tovanTrace("pedal claim: cannot clear the holder\n");
    ::close(fd_); // drops the lock, once no forked child shares it
}

std::shared_ptr<PedalClaim> claimPedal(const std::string& interfacePath, ClaimHolder* heldBy) {
    const std::lock_guard<std::mutex> lock(claimsMutex);
    if (auto claim = heldHere(interfacePath)) return claim;
    const int fd = openLockFile(interfacePath);
    if (fd < 0) {
        if (heldBy != nullptr) *heldBy = {};
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (heldBy != nullptr) *heldBy = readHolder(fd);
        ::close(fd);
        return nullptr;
    }
    writeHolder(fd);
    std::shared_ptr<PedalClaim> claim(new PedalClaim(interfacePath, fd, ::getpid()));
    heldClaims()[interfacePath] = claim;
    return claim;
}

std::optional<ClaimHolder> pedalClaimHolder(const std::string& interfacePath) {
    const std::lock_guard<std::mutex> lock(claimsMutex);
    if (heldHere(interfacePath)) return std::nullopt;
    const int fd = openLockFile(interfacePath);
    if (fd < 0) return std::nullopt;
    std::optional<ClaimHolder> holder;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::flock(fd, LOCK_UN);
    else
        holder = readHolder(fd);
    ::close(fd);
    return holder;
}

std::string claimFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != 0)
        return std::string(runtime) + "/tovan-claims";
    const std::string userRuntime = "/run/user/" + std::to_string(::getuid());
    if (isDirectory(userRuntime)) return userRuntime + "/tovan-claims";
    return "/tmp/tovan-claims-" + std::to_string(::getuid());
}

void setClaimProgramName(std::string name) {
    const std::lock_guard<std::mutex> lock(claimsMutex);
    programName() = std::move(name);
}

} // namespace tovan
