// The module-wide state that lives from InitMonitor to TerminateMonitor.
//
// Threads: every member is written only on the host's thread, by InitMonitor and
// TerminateMonitor and by the entry points of the browse and activation calls. The
// sampling thread, once started, reads `connections` (the cache stays in place until
// the thread has been stopped and joined) and takes the sampling rate from
// SamplingRate() in support/config_file.h, which is safe to read from any thread.
#pragma once

#include "include/dbgauge.h"
#include "monitor/browse_state.h"
#include "oracle/connection_cache.h"
#include "platform/sync.h"

#include <memory>
#include <string>
#include <vector>

#include "objects/object_info.h"

struct ConfigStore;

struct MonitorState {
    ConfigStore *configStore = nullptr;
    std::string monitorName; // "V$ Monitor" while initialised
    std::unique_ptr<BrowseState> browse;
    // Owned performance objects; the position is the host's object index. Released by
    // DestroyObjects, in list order.
    std::vector<std::unique_ptr<CObjectInfo>> objects;
    std::unique_ptr<ConnectionCache> connections;
    HostCallback hostCallback = nullptr;
    uintptr_t hostValue = 0;
    std::unique_ptr<platform::Thread> workerThread;
    std::unique_ptr<platform::AutoResetEvent> stopEvent;
};

// The one MonitorState of the library.
MonitorState &Monitor();

// The lock that guards the measurement table between the host's calls and the sampling
// thread; built when the library is loaded.
platform::RecursiveLock &MeasurementLock();

// Stops the sampling thread if it runs: signals stopEvent, waits for the thread without
// a time limit and clears both members.
void StopSamplingThread(MonitorState &state);

// Releases every member in teardown order (thread, connections, store, objects, browse
// state, monitor name). Members that are empty are skipped.
void ReleaseMonitorState(MonitorState &state);
