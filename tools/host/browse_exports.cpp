#include "tools/host/browse_exports.h"

#include <dlfcn.h>

namespace host {

namespace {
template <typename Fn> bool BindOne(void *handle, Fn &slot, const char *name, std::string &error) {
    slot = reinterpret_cast<Fn>(dlsym(handle, name));
    if (slot == nullptr)
        error = std::string("the monitor library does not export ") + name;
    return slot != nullptr;
}
} // namespace

BrowseExports::~BrowseExports() {
    if (handle_ != nullptr)
        dlclose(handle_);
}

bool BrowseExports::Bind(const MonitorLibrary &library, std::string &error) {
    // The library is loaded already: this takes one more reference to the same mapping.
    handle_ = dlopen(library.path().c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle_ == nullptr) {
        error = "the monitor library is not loaded: " + library.path();
        return false;
    }
    return BindOne(handle_, SetLoginInfo, "SetLoginInfo", error) &&
           BindOne(handle_, MeasurementAdded, "MeasurementAdded", error) &&
           BindOne(handle_, BrowseMonitor, "BrowseMonitor", error) &&
           BindOne(handle_, GetNumberOfObjects, "GetNumberOfObjects", error) &&
           BindOne(handle_, GetObjectById, "GetObjectById", error) &&
           BindOne(handle_, GetNumberOfCounters, "GetNumberOfCounters", error) &&
           BindOne(handle_, GetCounterById, "GetCounterById", error) &&
           BindOne(handle_, GetNumberOfInstances, "GetNumberOfInstances", error) &&
           BindOne(handle_, GetInstanceById, "GetInstanceById", error) &&
           BindOne(handle_, GetCounterDescription, "GetCounterDescription", error) &&
           BindOne(handle_, CancelAdd, "CancelAdd", error) &&
           BindOne(handle_, SetMonitorRate, "SetMonitorRate", error) &&
           BindOne(handle_, FreeMonitorStringAllocation, "FreeMonitorStringAllocation", error);
}

std::string BrowseExports::Take(char *text) const {
    std::string copy = text != nullptr ? text : "";
    FreeMonitorStringAllocation(&text);
    return copy;
}

} // namespace host
