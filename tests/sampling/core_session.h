// In-process helpers of the sampling tests that link the static core: an initialised
// monitor with a sampling interval of the test's choice, the monitor role's logon string
// and a recorder of the samples that reach the value callback.
#pragma once

#include "include/dbgauge.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace sampling_test {

// InitMonitor on construction (the test fails when it does not succeed), TerminateMonitor
// on destruction. The sampling interval is set after the configuration was read.
class CoreMonitor {
public:
    explicit CoreMonitor(int samplingRateSeconds);
    ~CoreMonitor();
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

std::string MonitorLogon();
std::string LogonWithPassword(const std::string &password);

struct Report {
    ValueRecord record;
    std::string error;
    bool failed;
    uintptr_t context;
};

// Keeps every sample; the callback is Recorder::OnValue with the recorder as context.
class Recorder {
public:
    static void DBG_STDCALL OnValue(ValueRecord record, const char *errorText, uintptr_t context);
    uintptr_t context() { return reinterpret_cast<uintptr_t>(this); }
    std::vector<Report> Reports();
    // Waits up to 30 s until at least count reports arrived; false when they did not.
    bool AwaitCount(size_t count);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Report> reports_;
};

} // namespace sampling_test
