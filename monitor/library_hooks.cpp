// What happens when the host loads and unloads libdbgauge.so.
//
// At load the process-lifetime objects are built in a fixed order (they are function
// statics, so they are destroyed in the reverse order when the library is unloaded) and
// a notice is sent to a listener on the load pipe, if there is one.
#include "monitor/measurements.h"
#include "monitor/monitor_state.h"
#include "platform/pipe_notice.h"
#include "support/config_file.h"
#include "support/errors.h"

namespace {

constexpr const char *kLoadPipe = "\\\\.\\pipe\\{7077FF80-EDDF-11d3-92D0-0050049D1BF1}";

__attribute__((constructor)) void OnLibraryLoad() {
    MeasurementLock();
    CreateLastErrorText();
    CreateConfigResults(); // configuration path, description map, rate counter set
    CreateMeasurementTables(); // the measurement table and the sampling table
    // The alternate API's set follows here.
    platform::SendPipeNotice(kLoadPipe);
}

__attribute__((destructor)) void OnLibraryUnload() {
    // A host that unloads without TerminateMonitor must not leave the sampling thread
    // running in code that is about to disappear.
    StopSamplingThread(Monitor());
}

} // namespace
