#include "platform/gtk/frame_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

std::unique_ptr<FrameLog> FrameLog::fromEnvironment() {
    const char* path = std::getenv("TOVAN_FRAME_LOG");
    if (path == nullptr || *path == '\0') return nullptr;
    auto log = std::make_unique<FrameLog>(path);
    if (!log->valid()) return nullptr;
    return log;
}

FrameLog::FrameLog(const std::string& path)
    : fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644)) {}

FrameLog::~FrameLog() {
    if (fd >= 0) ::close(fd);
}

int64_t FrameLog::nowUs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

void FrameLog::clock(int64_t monotonicUs, uint32_t serverMs) {
    clockWritten = true;
    char line[64];
    write(line,
          std::snprintf(line, sizeof line, "clock %lld %u\n", static_cast<long long>(monotonicUs), serverMs));
}

uint64_t FrameLog::input(const char* kind, int64_t receivedUs, uint32_t serverMs) {
    const uint64_t seq = ++inputs;
    char line[96];
    write(line,
          std::snprintf(line, sizeof line, "input %llu %s %lld %u\n", static_cast<unsigned long long>(seq),
                        kind, static_cast<long long>(receivedUs), serverMs));
    return seq;
}

void FrameLog::frame(int64_t monotonicUs, Cause cause) {
    const char* name = "other";
    switch (cause.kind) {
    case Cause::Kind::Input:
        name = "input";
        break;
    case Cause::Kind::Timer:
        name = "timer";
        break;
    case Cause::Kind::Idle:
        name = "idle";
        break;
    case Cause::Kind::Exposure:
        name = "expose";
        break;
    case Cause::Kind::Other:
        break;
    }
    char line[96];
    const bool numbered = cause.kind == Cause::Kind::Input || cause.kind == Cause::Kind::Timer;
    const long long us = static_cast<long long>(monotonicUs);
    const int length = numbered ? std::snprintf(line, sizeof line, "frame %lld %s %llu\n", us, name,
                                                static_cast<unsigned long long>(cause.id))
                                : std::snprintf(line, sizeof line, "frame %lld %s\n", us, name);
    write(line, length);
}

void FrameLog::mark(int64_t monotonicUs, const char* what) {
    char line[96];
    write(line,
          std::snprintf(line, sizeof line, "mark %lld %s\n", static_cast<long long>(monotonicUs), what));
}

void FrameLog::write(const char* line, int length) {
    if (fd < 0 || length <= 0) return;
    // One write a line: O_APPEND keeps lines whole for a reader following the file.
    if (::write(fd, line, static_cast<size_t>(length)) < 0) {
        ::close(fd);
        fd = -1;
    }
}
