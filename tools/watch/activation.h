// Turning what the user asked to watch into active measurements. Each item carries its
// own logon string, so items from any source (--measure, or picks made by browsing) go
// through the same activation.
#pragma once

#include "tools/host/library.h"
#include "tools/watch/sample_log.h"

#include <string>
#include <vector>

namespace watch {

struct WatchItem {
    std::string name;
    std::string valueString;
    std::string logonString;
};

struct ActivationFailure {
    size_t index;
    std::string text;
};

// Activates every item with SampleLog::OnValue and the item's context in log (item i is
// measurement i of log). Returns the items that could not be activated, with the
// monitor's texts; the others are active.
std::vector<ActivationFailure> ActivateAll(host::MonitorLibrary &library,
                                           const std::vector<WatchItem> &items, SampleLog &log);

// Deactivates every item; failures are of no interest at the end of a run.
void DeactivateAll(host::MonitorLibrary &library, const std::vector<WatchItem> &items);

// The logon string of (server, user, password) as the monitor reads it: six fields
// KEY=LENGTH VALUE, each followed by one space, the last three empty.
std::string LogonString(const std::string &server, const std::string &user,
                        const std::string &password);

// Splits "NAME=VALUESTRING" at its first "="; false when there is none or NAME is empty.
bool ParseMeasureOption(const std::string &text, std::string &name, std::string &valueString);

} // namespace watch
