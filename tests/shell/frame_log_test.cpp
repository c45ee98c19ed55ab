// The frame log's lines: other programs read them to measure how quickly the
// window answers input and follows the pedal.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/gtk/frame_log.h"

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string tempPath() {
    return (testing::TempDir() + "frame-log-" + std::to_string(::getpid()) + ".txt");
}

TEST(FrameLog, InputsAreNumberedAndFramesNameTheirCause) {
    const std::string path = tempPath();
    {
        FrameLog log(path);
        ASSERT_TRUE(log.valid());
        EXPECT_FALSE(log.hasClock());
        log.clock(1000, 77);
        EXPECT_TRUE(log.hasClock());
        const uint64_t first = log.input("press", 2000, 78);
        const uint64_t second = log.input("motion", 2500, 79);
        EXPECT_EQ(second, first + 1);
        {
            const FrameCauseScope drag(&log, {FrameLog::Cause::Kind::Input, second});
            log.frame(3000, log.current);
            {
                // A timer firing inside a handler (a nested loop) has its own cause.
                const FrameCauseScope timer(&log, {FrameLog::Cause::Kind::Timer, 5});
                log.frame(3100, log.current);
            }
            log.frame(3200, log.current);
        }
        log.frame(4000, log.current);
        log.frame(4100, {FrameLog::Cause::Kind::Idle, 0});
        log.frame(4200, {FrameLog::Cause::Kind::Exposure, 0});
        // Lines are in the file as soon as they are logged.
        EXPECT_NE(readAll(path).find("frame 4200 expose\n"), std::string::npos);
    }
    EXPECT_EQ(readAll(path), "clock 1000 77\n"
                             "input 1 press 2000 78\n"
                             "input 2 motion 2500 79\n"
                             "frame 3000 input 2\n"
                             "frame 3100 timer 5\n"
                             "frame 3200 input 2\n"
                             "frame 4000 other\n"
                             "frame 4100 idle\n"
                             "frame 4200 expose\n");
    std::remove(path.c_str());
}

TEST(FrameLog, OffUnlessTheEnvironmentNamesAWritableFile) {
    ::unsetenv("TOVAN_FRAME_LOG");
    EXPECT_EQ(FrameLog::fromEnvironment(), nullptr);
    ::setenv("TOVAN_FRAME_LOG", "/nonexistent-folder/log", 1);
    EXPECT_EQ(FrameLog::fromEnvironment(), nullptr);
    const std::string path = tempPath();
    ::setenv("TOVAN_FRAME_LOG", path.c_str(), 1);
    EXPECT_NE(FrameLog::fromEnvironment(), nullptr);
    ::unsetenv("TOVAN_FRAME_LOG");
    // A cause scope without a log does nothing.
    const FrameCauseScope none(nullptr, {FrameLog::Cause::Kind::Timer, 1});
    std::remove(path.c_str());
}

} // namespace
