#include "tools/host/library.h"

#include "platform/paths.h"

#include <dlfcn.h>

namespace host {

MonitorLibrary::~MonitorLibrary() { Unload(); }

template <typename Fn> bool MonitorLibrary::Bind(Fn &slot, const char *name, std::string &error) {
    slot = reinterpret_cast<Fn>(dlsym(handle_, name));
    if (slot == nullptr) {
        error = path_ + " does not export " + name;
        return false;
    }
    return true;
}

bool MonitorLibrary::Load(const std::string &path, std::string &error) {
    Unload();
    path_ = path;
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char *reason = dlerror();
        error = reason ? reason : ("cannot load " + path);
        return false;
    }
    if (!Bind(InitMonitor, "InitMonitor", error) ||
        !Bind(TerminateMonitor, "TerminateMonitor", error) ||
        !Bind(ActivateMeasurement, "ActivateMeasurement", error) ||
        !Bind(DeActivateMeasurement, "DeActivateMeasurement", error) ||
        !Bind(GetNewData, "GetNewData", error)) {
        Unload();
        return false;
    }
    return true;
}

void MonitorLibrary::Unload() {
    if (handle_ != nullptr)
        dlclose(handle_);
    handle_ = nullptr;
    InitMonitor = nullptr;
    TerminateMonitor = nullptr;
    ActivateMeasurement = nullptr;
    DeActivateMeasurement = nullptr;
    GetNewData = nullptr;
}

std::string DefaultLibraryPath() {
    return platform::JoinPath(platform::DirectoryOf(platform::ExecutablePath()),
                              "../lib/libdbgauge.so");
}

} // namespace host
