#include "platform/paths.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <vector>

namespace platform {

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    return std::string(buffer, static_cast<size_t>(length));
}

std::string ModuleDirectory() {
    Dl_info info{};
    static const int anchor = 0;
    if (dladdr(&anchor, &info) == 0 || info.dli_fname == nullptr)
        return DirectoryOf(ExecutablePath());
    std::string file = info.dli_fname;
    if (file.empty() || file.front() != '/') {
        // The main executable may be reported by its invocation name.
        file = ExecutablePath();
    }
    return DirectoryOf(NormalizePath(file));
}

std::string DirectoryOf(std::string_view path) {
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return ".";
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

std::string NormalizePath(std::string_view path) {
    const bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string_view> parts;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string_view::npos)
            end = path.size();
        std::string_view part = path.substr(pos, end - pos);
        if (part.empty() || part == ".") {
            // skip
        } else if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
        } else {
            parts.push_back(part);
        }
        pos = end + 1;
    }
    if (parts.empty())
        return absolute ? "/" : ".";
    std::string result = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            result += '/';
        result += parts[i];
    }
    return result;
}

std::string JoinPath(std::string_view base, std::string_view relative) {
    std::string joined(base);
    joined += '/';
    for (char c : relative)
        joined += (c == '\\') ? '/' : c;
    return NormalizePath(joined);
}

} // namespace platform
