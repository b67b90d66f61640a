// Loads libdbgauge.so the way a controller does (dlopen, then dlsym of every export the
// host uses) and keeps the bound entry points.
#pragma once

#include "include/dbgauge.h"

#include <string>

namespace host {

using InitMonitorFn = int (*)(uintptr_t, uintptr_t, HostCallback, uintptr_t, int *, char *,
                              unsigned);
using TerminateMonitorFn = int (*)();
using ActivateMeasurementFn = int (*)(const char *, const char *, const char *, char *, int,
                                      ValueCallback, uintptr_t);
using DeActivateMeasurementFn = int (*)(const char *, const char *, char *, int);
using GetNewDataFn = int (*)(const char *, const char *, ValueRecord *, char *, int);

class MonitorLibrary {
public:
    MonitorLibrary() = default;
    MonitorLibrary(const MonitorLibrary &) = delete;
    MonitorLibrary &operator=(const MonitorLibrary &) = delete;
    ~MonitorLibrary();

    // Loads the library at path and resolves the exports; false with error set when the
    // file cannot be loaded or lacks an export.
    bool Load(const std::string &path, std::string &error);
    void Unload();

    const std::string &path() const { return path_; }
    InitMonitorFn InitMonitor = nullptr;
    TerminateMonitorFn TerminateMonitor = nullptr;
    ActivateMeasurementFn ActivateMeasurement = nullptr;
    DeActivateMeasurementFn DeActivateMeasurement = nullptr;
    GetNewDataFn GetNewData = nullptr;

private:
    template <typename Fn> bool Bind(Fn &slot, const char *name, std::string &error);
    void *handle_ = nullptr;
    std::string path_;
};

// <directory of this executable>/../lib/libdbgauge.so
std::string DefaultLibraryPath();

} // namespace host
