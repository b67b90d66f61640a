// InitMonitor and TerminateMonitor: the monitor's state from set-up to teardown.
//
// A second InitMonitor without TerminateMonitor in between first does everything that
// TerminateMonitor would (stops the sampling thread, releases the state, unloads the
// client library and shuts the catalogue down) and then initialises afresh, so that
// nothing of the first initialisation leaks or stays loaded twice.
#include "include/dbgauge.h"

#include "monitor/browse_state.h"
#include "monitor/monitor_state.h"
#include "oracle/client_binding.h"
#include "platform/catalogue.h"
#include "platform/config_store.h"
#include "support/config_file.h"
#include "support/message_text.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <string>

namespace {

constexpr const char *kMonitorName = "V$ Monitor";

// True from the start of InitMonitor until TerminateMonitor, also after a failed one.
std::atomic<bool> initialiseCalled{false};

int ShutDown() {
    ReleaseMonitorState(Monitor());
    UnloadOracleDll();
    char path[kResourcePathSize];
    BuildMessageResourcePath(path);
    RemoveResourceFile(path);
    initialiseCalled = false;
    return MsgHandlerDestroyFunction();
}

int Fail(char *errorText, unsigned errorTextSize, const std::string &text) {
    CopyBounded(errorText, text.c_str(), errorTextSize);
    return -1;
}

int Initialise(HostCallback hostCallback, uintptr_t hostValue, char *errorText,
               unsigned errorTextSize) {
    if (initialiseCalled.exchange(true))
        ShutDown(), initialiseCalled = true;

    char path[kResourcePathSize];
    BuildMessageResourcePath(path);
    MsgHandlerInitFunction();
    if (AddResourceFile(path) != 0) {
        char text[kResourcePathSize + 64];
        std::snprintf(text, sizeof text, "Error can not open resource file %s.e2.", path);
        return Fail(errorText, errorTextSize, text);
    }

    std::string error;
    if (LoadOracleDll(error) < 0 || !IsOracleInstalled(error))
        return Fail(errorText, errorTextSize, error);

    MonitorState &state = Monitor();
    state.configStore = new_config();
    state.monitorName = kMonitorName;
    state.browse = std::make_unique<BrowseState>();
    state.objects.clear();
    state.connections = std::make_unique<ConnectionCache>();
    state.hostValue = hostValue;
    state.hostCallback = hostCallback;

    ReadMonitorSettings(state.configStore);
    ReadCounterDescriptions(state.configStore);
    ReadRateCounters(state.configStore);

    // The performance objects, in this order: the position is the host's object index.
    for (const char *type : {"V$SYSSTAT", "V$SESSTAT", "CUSTOM"})
        CreateObjectInfo(state.objects, type, MonitorObjectSources());

    InitOciOnce();
    return 0;
}

} // namespace

DBG_EXPORT int InitMonitor(uintptr_t, uintptr_t, HostCallback hostCallback, uintptr_t hostValue,
                           int *outFlag, char *errorText, unsigned errorTextSize) {
    if (outFlag != nullptr)
        *outFlag = 1;
    if (errorText != nullptr && errorTextSize > 0)
        errorText[0] = '\0';
    try {
        return Initialise(hostCallback, hostValue, errorText, errorTextSize);
    } catch (const std::exception &e) {
        ReleaseMonitorState(Monitor());
        return Fail(errorText, errorTextSize,
                    std::string("The monitor could not be initialised: ") + e.what());
    } catch (...) {
        ReleaseMonitorState(Monitor());
        return Fail(errorText, errorTextSize, "The monitor could not be initialised.");
    }
}

DBG_EXPORT int TerminateMonitor(void) {
    try {
        return ShutDown();
    } catch (...) {
        return -1;
    }
}
