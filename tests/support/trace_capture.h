#pragma once

#include <string>
#include <string_view>

#include "platform/trace.h"

// Collects everything traced while it lives.
class TraceCapture {
public:
    TraceCapture() {
        previous = setTraceSink([this](std::string_view text) { traced += text; });
    }
    ~TraceCapture() { setTraceSink(std::move(previous)); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    bool contains(std::string_view text) const { return traced.find(text) != std::string::npos; }
    void clear() { traced.clear(); }

    std::string traced;

private:
    TraceSink previous;
};
