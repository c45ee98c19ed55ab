#pragma once

#include <cstdint>
#include <memory>
#include <string>

// An opt-in record of what the window put on screen and why, for measuring
// how long input takes to reach the pixels and how closely the screen follows
// a pedal. Off unless TOVAN_FRAME_LOG names a file; the window then holds one
// and costs nothing more than a null test when it does not.
//
// The file is written as things happen, one line a write (after the time is
// taken), so it can be followed while the editor runs and stays whole if the
// editor is killed. Times are microseconds of the monotonic clock
// (CLOCK_MONOTONIC, Python's time.monotonic()); X server times are the
// server's milliseconds, as in its events. Lines:
//
//   clock <monotonic_us> <server_ms>
//       once, when the window is first idle (or at the first input if that
//       comes sooner), anywhere in the file: the monotonic time at which the X
//       server's millisecond count reached server_ms (found by round trips,
//       good to about one of them), so server times can be put on the
//       monotonic clock.
//   input <seq> <kind> <received_us> <server_ms>
//       an input event as the window's handler got it; kind is press,
//       release, motion, scroll or key; seq counts from 1.
//   frame <monotonic_us> <cause> [<id>]
//       pixels drawn into the window and synced with the X server (the time is
//       taken after the server has processed them). cause is one of
//         input <seq>   drawn while handling that input event
//         timer <id>    drawn by a toolkit timer (the status poll, fades)
//         idle          presents asked from another thread, drawn by the loop
//         expose        GTK redrew the window (mapped, uncovered)
//         other         drawn outside any of these (while starting)
//       An input event can cause several frames (one per rectangle changed);
//       its last one is the complete answer.
//   mark <monotonic_us> <what>
//       the program reached a point of its work; what is start-read-begin
//       as the start's reading of the pedal begins, before its first
//       report; start-read-done once it has ended and its last frame is out.
class FrameLog {
public:
    // What the pixels being drawn answer.
    struct Cause {
        enum class Kind { Other, Input, Timer, Idle, Exposure };
        Kind kind = Kind::Other;
        uint64_t id = 0; // the input's seq or the timer's id
    };

    // The log named by TOVAN_FRAME_LOG, or none.
    static std::unique_ptr<FrameLog> fromEnvironment();
    // A log written to `path` (truncated); invalid when it cannot be opened.
    explicit FrameLog(const std::string& path);
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    bool valid() const { return fd >= 0; }
    static int64_t nowUs();

    bool hasClock() const { return clockWritten; }
    void clock(int64_t monotonicUs, uint32_t serverMs);
    // Records an input event; answers its seq.
    uint64_t input(const char* kind, int64_t receivedUs, uint32_t serverMs);
    void frame(int64_t monotonicUs, Cause cause);
    void mark(int64_t monotonicUs, const char* what);

    // The cause of frames drawn now, set for the length of a handler.
    Cause current;

private:
    void write(const char* line, int length);

    int fd = -1;
    uint64_t inputs = 0;
    bool clockWritten = false;
};

// Sets the log's current cause for a scope and puts the previous one back.
class FrameCauseScope {
public:
    FrameCauseScope(FrameLog* log, FrameLog::Cause cause) : log(log) {
        if (log == nullptr) return;
        previous = log->current;
        log->current = cause;
    }
    ~FrameCauseScope() {
        if (log != nullptr) log->current = previous;
    }
    FrameCauseScope(const FrameCauseScope&) = delete;
    FrameCauseScope& operator=(const FrameCauseScope&) = delete;

private:
    FrameLog* log;
    FrameLog::Cause previous;
};
