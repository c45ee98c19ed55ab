#include "toolkit/app_strings.h"

#include <map>
#include <mutex>

namespace {

std::mutex tableMutex;

std::map<uint32_t, std::string>& table() {
    static std::map<uint32_t, std::string> strings;
    return strings;
}

} // namespace

void setAppString(uint32_t id, std::string text) {
    std::lock_guard lock(tableMutex);
    table()[id] = std::move(text);
}

const std::string& appString(uint32_t id) {
    static const std::string empty;
    std::lock_guard lock(tableMutex);
    const auto found = table().find(id);
    return found != table().end() ? found->second : empty;
}
