// One browse as a controller runs it: BrowseMonitor, whose host callback names the
// database with SetLoginInfo and then does the caller's work (listing or picking).
#pragma once

#include "tools/host/browse_exports.h"

#include <functional>
#include <string>
#include <vector>

namespace browse {

struct Logon {
    std::string server, user, password;
};

// A record handed back by BrowseMonitor, as the host keeps it.
struct PickedRecord {
    std::string valueString;
    std::string presentationName;
    std::string connectionLogon;
    bool rate = false;
};

struct BrowseOutcome {
    int result = -1;
    std::string message; // BrowseMonitor's message buffer: the logon error on failure
    std::vector<PickedRecord> records;
};

// Runs BrowseMonitor with work called inside the host callback after the logon
// (skipped when the logon fails; the failure comes back in the outcome's message).
// Needs InitMonitor to have been called with HostCallback() and the address of a
// BrowseWork as the host value.
struct BrowseWork {
    const host::BrowseExports *exports = nullptr;
    Logon logon;
    std::function<void()> work;
};
void HostCallback(char *message, uintptr_t hostValue);
BrowseOutcome RunBrowse(const host::BrowseExports &exports, const std::string &logonString);

// A pick "OBJECT/COUNTER/INSTANCE": the object runs to the first "/", the counter to the
// second, and the rest is the instance (session instances hold "/" themselves). A
// counter whose name holds "/" cannot be written this way. False when a part is missing.
bool ParsePick(const std::string &text, std::string &object, std::string &counter,
               std::string &instance);

// Picks from a file: one per line; blank lines and lines beginning with "#" are skipped.
bool ReadPickFile(const std::string &path, std::vector<std::string> &picks, std::string &error);

} // namespace browse
