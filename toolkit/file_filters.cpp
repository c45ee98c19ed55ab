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

std::string savedFileName(std::string_view path, std::string_view extension) {
    if (extension.empty() || extension == "*") return std::string(path);
    const size_t slash = path.rfind('/');
    const size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    const std::string_view folder = path.substr(0, start);
    const std::string_view name = path.substr(start);
    if (name.empty()) return std::string(path);
    if (name.find('.') == std::string_view::npos) return std::string(path) + "." + std::string(extension);
    return std::string(folder) + nameForFilterChange(name, extension);
}
