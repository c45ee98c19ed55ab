#include "toolkit/file_filters.h"

#include <algorithm>

std::vector<std::string> fileFilterList(std::span<const std::string> extensions,
                                        std::span<const std::string> descriptions) {
    std::vector<std::string> list;
    const size_t count = std::min(extensions.size(), descriptions.size());
    for (size_t i = 0; i < count; ++i) {
        list.push_back(descriptions[i] + " (*." + extensions[i] + ")");
        list.push_back("*." + extensions[i]);
    }
    list.emplace_back();
    return list;
}

std::string filterExtension(std::span<const std::string> filterList, size_t index) {
    if (index == 0 || 2 * index - 1 >= filterList.size()) return {};
    const std::string& pattern = filterList[2 * index - 1];
    const size_t dot = pattern.find('.');
    return dot == std::string::npos ? std::string() : pattern.substr(dot + 1);
}

std::string nameForFilterChange(std::string_view name, std::string_view extension) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || extension.empty()) return std::string(name);
    return std::string(name.substr(0, dot + 1)) + std::string(extension);
}
