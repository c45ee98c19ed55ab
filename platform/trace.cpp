#include "platform/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {

std::mutex traceMutex;
TraceSink customSink;

bool traceToStderr() {
    static const bool enabled = [] {
        const char* value = std::getenv("TOVAN_TRACE");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

} // namespace

void tovanTrace(const char* format, ...) {
    std::lock_guard lock(traceMutex);
    if (!customSink && !traceToStderr()) return;

    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);

    if (customSink)
        customSink(text);
    else
        std::fputs(text.c_str(), stderr);
}

TraceSink setTraceSink(TraceSink sink) {
    std::lock_guard lock(traceMutex);
    TraceSink previous = std::move(customSink);
    customSink = std::move(sink);
    return previous;
}
