#include "platform/registry.h"

#include "platform/paths.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string_view>

namespace platform {

std::string RegistryRoot() {
    if (const char *root = std::getenv("DBGAUGE_REGISTRY"); root != nullptr && *root != '\0')
        return NormalizePath(root);
    return JoinPath(ModuleDirectory(), "../etc/registry");
}

bool RegistryKeyExists(const char *hive, const char *subKey) {
    if (hive == nullptr || subKey == nullptr)
        return false;
    // A key name never climbs out of its hive.
    for (std::string_view part : {std::string_view(hive), std::string_view(subKey)}) {
        if (part.find("..") != std::string_view::npos)
            return false;
    }
    std::string path = JoinPath(RegistryRoot(), std::string(hive) + "\\" + subKey);
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace platform
