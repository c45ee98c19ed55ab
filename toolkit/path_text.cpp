#include "toolkit/path_text.h"

std::string folderOf(std::string_view path, bool stopAtSpace) {
    size_t start = 0;
    while (start < path.size() && (path[start] == ' ' || path[start] == '"'))
        ++start;
    const bool quoted = start > 0 && path.substr(0, start).find('"') != std::string_view::npos;
    std::string_view rest = path.substr(start);
    size_t end = rest.size();
    if (quoted)
        end = rest.find('"');
    else if (stopAtSpace)
        end = rest.find(' ');
    rest = rest.substr(0, end == std::string_view::npos ? rest.size() : end);

    const size_t last = rest.rfind(kPathSeparator);
    if (last == std::string_view::npos) return {};
    return std::string(rest.substr(0, last == 0 ? 1 : last));
}

std::string appendSlash(std::string_view path) {
    std::string out(path);
    if (out.empty() || out.back() != kPathSeparator) out += kPathSeparator;
    return out;
}

std::string baseNameOf(std::string_view path) {
    const size_t slash = path.rfind(kPathSeparator);
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}
