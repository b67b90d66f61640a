#include "tools/host/install_layout.h"

#include "platform/catalogue.h"
#include "platform/config_store.h"
#include "platform/paths.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace host {

InstallLayout LayoutFor(const std::string &libraryPath) {
    const std::string libDir = platform::DirectoryOf(libraryPath);
    const std::string binDir = platform::DirectoryOf(platform::ExecutablePath());
    InstallLayout layout;
    layout.catalogue = platform::JoinPath(binDir, "../dat/pt_mon_dbgauge_msgs") +
                       platform::kCatalogueExtension;
    layout.configuration = platform::JoinPath(libDir, "../dat/monitors/dbgauge.cfg");
    layout.clientLibrary = libDir + "/liboci.so";
    layout.clientFallback = libDir + "/libociw32.so";
    const char *root = std::getenv("DBGAUGE_REGISTRY");
    const std::string registry = (root && *root) ? platform::NormalizePath(root)
                                                 : platform::JoinPath(libDir, "../etc/registry");
    layout.registryKey = registry + "/HKEY_LOCAL_MACHINE/SOFTWARE/ORACLE";
    return layout;
}

bool FileExists(const std::string &path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::string LoadedClientLibrary() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        size_t slash = line.find('/');
        if (slash == std::string::npos)
            continue;
        std::string_view path(line.c_str() + slash);
        for (std::string_view name : {"/liboci.so", "/libociw32.so"}) {
            if (path.size() >= name.size() && path.substr(path.size() - name.size()) == name)
                return std::string(path);
        }
    }
    return {};
}

int ConfiguredSamplingRate(const std::string &configuration) {
    ConfigStore *store = new_config();
    config_add_ini_new_file_source(store, configuration.c_str());
    const char *value =
        config_get_attrib_val(store, configuration.c_str(), "V$ Monitor", "SamplingRate");
    int rate = value ? std::atoi(value) : 5;
    delete_config(store);
    return rate;
}

} // namespace host
