// The browse exports of a loaded libdbgauge.so, bound the way a controller binds them:
// dlsym on the library that MonitorLibrary loaded.
#pragma once

#include "include/dbgauge.h"
#include "tools/host/library.h"

#include <string>

namespace host {

class BrowseExports {
public:
    BrowseExports() = default;
    BrowseExports(const BrowseExports &) = delete;
    BrowseExports &operator=(const BrowseExports &) = delete;
    ~BrowseExports();

    // Binds every browse export of the library that library has loaded; false with error
    // set when one is missing.
    bool Bind(const MonitorLibrary &library, std::string &error);

    int (*SetLoginInfo)(const char *, const char *, const char *, const char *, const char *,
                        const char *) = nullptr;
    int (*MeasurementAdded)(const char *, const char *, const char *) = nullptr;
    int (*BrowseMonitor)(uintptr_t, const char *, BrowseRecord **, int *, char *) = nullptr;
    int (*GetNumberOfObjects)() = nullptr;
    char *(*GetObjectById)(int) = nullptr;
    int (*GetNumberOfCounters)(const char *) = nullptr;
    char *(*GetCounterById)(const char *, int) = nullptr;
    int (*GetNumberOfInstances)(const char *) = nullptr;
    char *(*GetInstanceById)(const char *, int) = nullptr;
    char *(*GetCounterDescription)(const char *) = nullptr;
    void (*CancelAdd)() = nullptr;
    int (*SetMonitorRate)(int) = nullptr;
    void (*FreeMonitorStringAllocation)(char **) = nullptr;

    // A string the library returned, taken over and released through
    // FreeMonitorStringAllocation; null gives "".
    std::string Take(char *text) const;

private:
    void *handle_ = nullptr;
};

} // namespace host
