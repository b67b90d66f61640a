// ActivateMeasurement and DeActivateMeasurement: the host registers the measurements it
// wants sampled, and stops them again.
#include "monitor/measurements.h"

#include "monitor/monitor_state.h"
#include "monitor/sampling.h"
#include "oracle/client_binding.h"
#include "oracle/logon_string.h"
#include "support/message_ids.h"
#include "support/message_text.h"

#include <cstring>
#include <mutex>
#include <string>

namespace {

// Each logon field is read into a buffer of this size; a longer value is cut to it.
constexpr size_t kLogonFieldSize = 100;

struct LogonFields {
    char server[kLogonFieldSize] = "";
    char user[kLogonFieldSize] = "";
    char password[kLogonFieldSize] = "";
};

// Reads server, user and password, in this order. False when the text is not three whole
// fields.
bool ReadLogonFields(const char *logonString, LogonFields &fields) {
    const char *cursor = logonString;
    return ReadLogonField(&cursor, fields.server, sizeof fields.server) == 0 &&
           ReadLogonField(&cursor, fields.user, sizeof fields.user) == 0 &&
           ReadLogonField(&cursor, fields.password, sizeof fields.password) == 0;
}

int FailWith(char *errorText, int errorTextSize, int id, const char *argument = nullptr) {
    if (argument != nullptr)
        FormatCatalogueMessage(errorText, errorTextSize, id, argument);
    else
        FormatCatalogueMessage(errorText, errorTextSize, id);
    return -1;
}

const char *OrEmpty(const char *text) { return text != nullptr ? text : ""; }

int Activate(const char *valueString, const char *measurementName, const char *logonString,
             char *errorText, int errorTextSize, ValueCallback callback, uintptr_t context) {
    MonitorState &state = Monitor();
    if (!state.connections)
        return FailWith(errorText, errorTextSize, msg::kActivationLogonFailed,
                        "the monitor is not initialised (InitMonitor has not succeeded)");
    {
        // The first activation starts the thread; the lock makes two host threads that
        // activate at once start one thread between them.
        std::lock_guard guard(MeasurementLock());
        if (!StartSamplingThread(state))
            return FailWith(errorText, errorTextSize, msg::kThreadNotStarted);
    }

    LogonFields logon;
    if (!ReadLogonFields(OrEmpty(logonString), logon))
        return FailWith(errorText, errorTextSize, msg::kActivationLogonFailed,
                        "the logon string is not well formed (each of server, user and "
                        "password must be written as KEY=LENGTH VALUE)");
    InitOciOnce();
    std::string error;
    OracleConnection *connection =
        state.connections->GetOracleConnection(logon.user, logon.password, logon.server, error);
    if (connection == nullptr)
        return FailWith(errorText, errorTextSize, msg::kActivationLogonFailed, error.c_str());

    std::lock_guard guard(MeasurementLock());
    auto &table = MeasurementTable();
    size_t index = 0;
    if (!FindMeasurement(OrEmpty(valueString), OrEmpty(measurementName), index)) {
        Measurement added;
        added.valueString = OrEmpty(valueString);
        added.measurementName = OrEmpty(measurementName);
        added.logonString = OrEmpty(logonString);
        added.connection = connection;
        table.push_back(std::move(added));
        index = table.size() - 1;
    }
    Measurement &entry = table[index];
    entry.active = true;
    entry.callback = callback;
    entry.context = context;
    return 0;
}

} // namespace

std::vector<Measurement> &MeasurementTable() {
    static std::vector<Measurement> table;
    return table;
}

bool FindMeasurement(const char *valueString, const char *measurementName, size_t &index) {
    const auto &table = MeasurementTable();
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].valueString == valueString && table[i].measurementName == measurementName) {
            index = i;
            return true;
        }
    }
    return false;
}

void ClearMeasurementTables() {
    std::lock_guard guard(MeasurementLock());
    MeasurementTable().clear();
    ClearSamplingTable();
}

void CreateMeasurementTables() {
    MeasurementTable();
    SamplingTable();
}

DBG_EXPORT int ActivateMeasurement(const char *valueString, const char *measurementName,
                                   const char *logonString, char *errorText, int errorTextSize,
                                   ValueCallback callback, uintptr_t context) {
    try {
        return Activate(valueString, measurementName, logonString, errorText, errorTextSize,
                        callback, context);
    } catch (const std::exception &e) {
        return FailWith(errorText, errorTextSize, msg::kActivationLogonFailed, e.what());
    } catch (...) {
        return FailWith(errorText, errorTextSize, msg::kActivationLogonFailed,
                        "unexpected failure");
    }
}

DBG_EXPORT int DeActivateMeasurement(const char *valueString, const char *measurementName,
                                     char *errorText, int errorTextSize) {
    try {
        std::lock_guard guard(MeasurementLock());
        size_t index = 0;
        if (!FindMeasurement(OrEmpty(valueString), OrEmpty(measurementName), index))
            return FailWith(errorText, errorTextSize, msg::kNotActivated);
        MeasurementTable()[index].active = false;
        return 0;
    } catch (...) {
        return -1;
    }
}
