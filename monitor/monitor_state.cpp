#include "monitor/monitor_state.h"

#include "monitor/measurements.h"

#include "platform/config_store.h"

namespace {
// Constant-initialised, so it exists before any load-time code runs.
constinit MonitorState monitorState;
} // namespace

MonitorState &Monitor() { return monitorState; }

platform::RecursiveLock &MeasurementLock() {
    static platform::RecursiveLock lock;
    return lock;
}

void StopSamplingThread(MonitorState &state) {
    if (!state.workerThread)
        return;
    if (state.stopEvent)
        state.stopEvent->set();
    state.workerThread->join();
    state.workerThread.reset();
    state.stopEvent.reset();
}

void ReleaseMonitorState(MonitorState &state) {
    // The sampling thread uses the connections: it ends before anything is released.
    StopSamplingThread(state);
    if (state.connections) {
        // Measurements refer to the cached sessions: they go with them, so that nothing
        // activated before a TerminateMonitor uses a released session after a new
        // InitMonitor. The thread has ended, so taking the lock cannot wait for a cycle.
        ClearMeasurementTables();
        // Every cached session is logged off here before the cache goes.
        state.connections.reset();
    }
    if (state.configStore) {
        delete_config(state.configStore);
        state.configStore = nullptr;
    }
    if (!state.objects.empty()) {
        // Each object is destroyed through its virtual destructor, in list order.
        DestroyObjects(state.objects);
    }
    state.browse.reset();
    state.monitorName.clear();
    state.monitorName.shrink_to_fit();
    state.hostCallback = nullptr;
    state.hostValue = 0;
}
