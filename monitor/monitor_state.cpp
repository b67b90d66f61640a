#include "monitor/monitor_state.h"

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
        // Every cached session is logged off here before the cache goes.
        state.connections.reset();
    }
    if (state.configStore) {
        delete_config(state.configStore);
        state.configStore = nullptr;
    }
    if (!state.objects.empty()) {
        // Each object is destroyed through its virtual destructor, in list order.
        for (auto &object : state.objects)
            object.reset();
        state.objects.clear();
    }
    state.browse.reset();
    state.monitorName.clear();
    state.monitorName.shrink_to_fit();
    state.hostCallback = nullptr;
    state.hostValue = 0;
}
