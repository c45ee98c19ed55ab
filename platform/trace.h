#pragma once

#include <functional>
#include <string_view>

// The diagnostic trace: printf-style texts about programming faults (wrong
// indexes, registration conflicts). Discarded by default; written to stderr when
// the environment has TOVAN_TRACE=1. Nothing written here reaches the user or
// changes control flow.
void tovanTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces where traced text goes (tests capture it). An empty function restores
// the default sink. Returns the previous sink.
using TraceSink = std::function<void(std::string_view text)>;
TraceSink setTraceSink(TraceSink sink);
