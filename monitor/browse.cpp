// The browse interface: naming the database, listing objects, counters and instances,
// picking measurements and handing the picks back as browse records.
//
// Every function runs on the host's thread and takes no lock. Before InitMonitor (and
// after TerminateMonitor) there is no browse state: the functions then fail (-1), count
// nothing (0) or return null. Strings returned to the host are fresh malloc copies that
// the host releases with free or FreeMonitorStringAllocation.
#include "include/dbgauge.h"

#include "monitor/browse_record.h"
#include "monitor/browse_state.h"
#include "monitor/monitor_state.h"
#include "oracle/client_binding.h"
#include "support/errors.h"
#include "support/message_text.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// BrowseMonitor is not told the size of its message buffer; it copies at most this many
// bytes into it, terminator included.
constexpr long long kBrowseMessageSize = 1024;

const char *Text(const char *text) { return text != nullptr ? text : ""; }

char *HeapCopy(const std::string &text) {
    char *copy = static_cast<char *>(std::malloc(text.size() + 1));
    if (copy != nullptr)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

bool Initialised() { return Monitor().browse != nullptr; }

CObjectInfo *Object(const char *name) {
    if (!Initialised() || name == nullptr)
        return nullptr;
    return FindObjectInfo(Monitor().objects, name);
}

template <typename List> char *EntryCopy(const List &list, int index) {
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return nullptr;
    return HeapCopy(list[static_cast<size_t>(index)]);
}

int BrowseFailure(const std::string &text, BrowseRecord **records, int *count, char *message) {
    if (count != nullptr)
        *count = 0;
    if (records != nullptr)
        *records = nullptr;
    CopyBounded(message, text.c_str(), kBrowseMessageSize);
    return -1;
}

int Browse(const char *logonString, BrowseRecord **records, int *count, char *message) {
    MonitorState &state = Monitor();
    if (!Initialised())
        return BrowseFailure("The monitor is not initialised: call InitMonitor first.", records,
                             count, message);
    BrowseState &browse = *state.browse;
    browse.logonString = Text(logonString);
    InitOciOnce();
    // After the alternate API's initialisation there is no callback: nothing to call.
    if (state.hostCallback != nullptr)
        state.hostCallback(message, state.hostValue);

    const std::string error = LastErrorText();
    if (!error.empty())
        return BrowseFailure(error, records, count, message);

    const size_t n = browse.picked.size();
    BrowseRecord *array =
        n > 0 ? static_cast<BrowseRecord *>(std::malloc(n * sizeof(BrowseRecord))) : nullptr;
    if (count != nullptr)
        *count = static_cast<int>(n);
    if (records != nullptr)
        *records = array;
    CopyBounded(message, "", kBrowseMessageSize);
    ClearLastErrorText();
    if (array != nullptr) {
        size_t i = 0;
        for (const std::string &key : browse.picked)
            BuildBrowseRecord(array[i++], key, browse, state.objects);
    }
    // Without the host to receive them, the records would leak.
    if (records == nullptr)
        std::free(array);
    for (auto &object : state.objects)
        object->DropLists();
    browse.connectionInUse = nullptr;
    browse.picked.clear();
    return 0;
}

} // namespace

DBG_EXPORT int SetLoginInfo(const char *user, const char *password, const char *server,
                            const char *, const char *, const char *) {
    try {
        MonitorState &state = Monitor();
        ClearLastErrorText();
        if (!Initialised() || !state.connections) {
            SetLastErrorText("The monitor is not initialised: call InitMonitor first.");
            return -1;
        }
        std::string error;
        OracleConnection *connection =
            state.connections->GetOracleConnection(Text(user), Text(password), Text(server), error);
        state.browse->connectionInUse = connection;
        if (!error.empty())
            SetLastErrorText(error);
        return error.empty() && connection != nullptr ? 0 : -1;
    } catch (...) {
        if (Monitor().browse)
            Monitor().browse->connectionInUse = nullptr;
        return -1;
    }
}

DBG_EXPORT int MeasurementAdded(const char *object, const char *counter, const char *instance) {
    try {
        CObjectInfo *info = Object(object);
        if (info == nullptr)
            return -1;
        const auto key = EncodePickKey(object, Text(counter), Text(instance));
        // Names of 256 bytes or more do not fit a key: refused, never cut.
        if (!key)
            return -1;
        if (!info->CanMeasure(Text(counter), Text(instance)))
            return -1;
        Monitor().browse->picked.insert(*key);
        return 0;
    } catch (...) {
        return -1;
    }
}

DBG_EXPORT int BrowseMonitor(uintptr_t, const char *logonString, BrowseRecord **records,
                             int *count, char *message) {
    try {
        return Browse(logonString, records, count, message);
    } catch (...) {
        return BrowseFailure("The browse could not be completed.", records, count, message);
    }
}

DBG_EXPORT int GetNumberOfObjects(void) {
    return Initialised() ? static_cast<int>(Monitor().objects.size()) : 0;
}

DBG_EXPORT char *GetObjectById(int index) {
    try {
        if (!Initialised() || index < 0 || static_cast<size_t>(index) >= Monitor().objects.size())
            return nullptr;
        return HeapCopy(Monitor().objects[static_cast<size_t>(index)]->name());
    } catch (...) {
        return nullptr;
    }
}

DBG_EXPORT int GetNumberOfCounters(const char *object) {
    try {
        CObjectInfo *info = Object(object);
        return info != nullptr ? static_cast<int>(info->Counters().size()) : 0;
    } catch (...) {
        return 0;
    }
}

DBG_EXPORT char *GetCounterById(const char *object, int index) {
    try {
        CObjectInfo *info = Object(object);
        return info != nullptr ? EntryCopy(info->Counters(), index) : nullptr;
    } catch (...) {
        return nullptr;
    }
}

DBG_EXPORT int GetNumberOfInstances(const char *object) {
    try {
        CObjectInfo *info = Object(object);
        return info != nullptr ? static_cast<int>(info->Instances().size()) : 0;
    } catch (...) {
        return 0;
    }
}

DBG_EXPORT char *GetInstanceById(const char *object, int index) {
    try {
        CObjectInfo *info = Object(object);
        return info != nullptr ? EntryCopy(info->Instances(), index) : nullptr;
    } catch (...) {
        return nullptr;
    }
}

DBG_EXPORT char *GetCounterDescription(const char *counter) {
    try {
        return HeapCopy(DescriptionOf(Text(counter)));
    } catch (...) {
        return nullptr;
    }
}

DBG_EXPORT void CancelAdd(void) {}

DBG_EXPORT int SetMonitorRate(int) { return -1; }

DBG_EXPORT void FreeMonitorStringAllocation(char **place) {
    if (place == nullptr)
        return;
    std::free(*place);
    *place = nullptr;
}
