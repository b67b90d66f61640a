// The sampling thread and GetNewData: every active measurement is sampled each cycle, as
// a plain value or as a rate per second against its previous sample, and reported to the
// host through its ValueCallback.
#include "monitor/sampling.h"

#include "monitor/measurements.h"
#include "monitor/monitor_state.h"
#include "oracle/queries.h"
#include "platform/os_functions.h"
#include "support/config_file.h"
#include "support/message_ids.h"
#include "support/message_text.h"
#include "support/trace.h"

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

size_t synchronisedCount = 0;
std::atomic<uint64_t> completedCycles{0};

constexpr int kThreadExitCode = 99;
constexpr int64_t kMicrosecondsPerSecond = 1000000;

struct SampleTime {
    int32_t seconds = 0;
    int32_t microseconds = 0;
};

SampleTime Now() {
    int32_t time[2] = {0, 0};
    os_gettimeofday(time, nullptr);
    return {time[0], time[1]};
}

// Microseconds from the previous sample of entry to now, counted in 64 bits so that
// intervals of any length fit.
int64_t ElapsedMicroseconds(const SamplingEntry &entry, SampleTime now) {
    return (static_cast<int64_t>(now.seconds) - entry.previousSeconds) * kMicrosecondsPerSecond +
           (static_cast<int64_t>(now.microseconds) - entry.previousMicroseconds);
}

void Report(const SamplingEntry &entry, const ValueRecord &record, const char *error) {
    if (entry.callback != nullptr)
        entry.callback(record, error, entry.context);
}

// A reported value or rate below zero fails the sample with message -95001, unless the
// sample has already failed with a text of its own.
void RefuseNegative(double reported, const char *&error, int &result) {
    if (!(reported < 0) || error != nullptr)
        return;
    FormatCatalogueMessage(MessageBuffer(), static_cast<int>(kMessageBufferSize),
                           msg::kNegativeValue);
    result = -1;
    error = MessageBuffer();
}

// The statement's value; error receives the failure text. A value string without a mode
// character names no statement, so every sample of it fails.
double QueryValue(const SamplingEntry &entry, char *error) {
    if (entry.valueString.empty()) {
        FormatCatalogueMessage(error, static_cast<int>(kQueryErrorSize), msg::kEmptyValueString);
        return 0.0;
    }
    return GetQueryValue(*entry.connection, error, entry.valueString.c_str() + 1);
}

unsigned MeasurementThreadProc(platform::AutoResetEvent *stopEvent) {
    for (;;) {
        const uint32_t started = os_millisec_from_start_of_run();
        try {
            std::lock_guard guard(MeasurementLock());
            SyncSamplingTable();
            for (size_t i = 0; i < synchronisedCount; ++i) {
                ValueRecord record;
                std::memset(&record, 0, sizeof record);
                ComputeAndReportMeasurement(i, record);
            }
        } catch (...) {
            // A cycle that fails (out of memory) is skipped; the next cycle tries again.
        }
        completedCycles.fetch_add(1, std::memory_order_release);
        const uint32_t took = os_millisec_from_start_of_run() - started;
        const int64_t wait = static_cast<int64_t>(SamplingRate()) * 1000 - took;
        if (stopEvent->wait(static_cast<long>(wait > 0 ? wait : 0)) !=
            platform::WaitResult::TimedOut)
            break;
    }
    TracePrint("threadproc:  received stop mon request\n");
    TracePrint("MeasurementThreadProc: exited loop\n");
    TraceLeave("MeasurementThreadProc", nullptr);
    return kThreadExitCode;
}

} // namespace

std::vector<SamplingEntry> &SamplingTable() {
    static std::vector<SamplingEntry> table;
    return table;
}

size_t SynchronisedCount() { return synchronisedCount; }

uint64_t CompletedSamplingCycles() { return completedCycles.load(std::memory_order_acquire); }

int32_t DecodeMode(const std::string &valueString) {
    const int32_t c = valueString.empty() ? 0 : static_cast<signed char>(valueString[0]);
    return c <= '0' ? c - 1 : c - 49;
}

void SyncSamplingTable() {
    const auto &measurements = MeasurementTable();
    auto &entries = SamplingTable();
    const size_t previouslySynchronised = synchronisedCount;
    for (size_t k = previouslySynchronised; k < measurements.size(); ++k) {
        const Measurement &m = measurements[k];
        SamplingEntry entry;
        entry.valueString = m.valueString;
        entry.measurementName = m.measurementName;
        entry.logonString = m.logonString;
        entry.state = m.active ? 1 : 0;
        entry.mode = DecodeMode(m.valueString);
        entry.callback = m.callback;
        entry.context = m.context;
        entry.connection = m.connection;
        entries.push_back(std::move(entry));
    }
    for (size_t i = 0; i < previouslySynchronised; ++i) {
        const Measurement &m = measurements[i];
        SamplingEntry &entry = entries[i];
        if (!m.active) {
            entry.state = 0;
        } else if (entry.state == 0) {
            entry.state = 1;
            entry.callback = m.callback;
            entry.context = m.context;
        } else {
            entry.state = 2;
        }
    }
    synchronisedCount = measurements.size();
}

int ComputeAndReportMeasurement(size_t index, ValueRecord &record) {
    SamplingEntry &entry = SamplingTable()[index];
    if (entry.state == 0)
        return 1;
    const SampleTime now = Now();

    char errorBuffer[kQueryErrorSize] = "";
    const double value = QueryValue(entry, errorBuffer);
    int result = 0;
    const char *error = nullptr;
    if (errorBuffer[0] != '\0') {
        result = -1;
        error = errorBuffer;
        TracePrint("ERROR: %s\n", errorBuffer);
    }

    bool keepPrevious = false;
    // A measurement without a value string reports its failure like a value.
    if (entry.mode == 0 || entry.valueString.empty()) {
        record.kind = 0;
        record.seconds = now.seconds;
        record.microseconds = now.microseconds;
        record.u.value = value;
        RefuseNegative(value, error, result);
        TracePrint("From ComputeAndReportMeasurement: val=%f error=%s\n", value,
                   error != nullptr ? error : "(null)");
        Report(entry, record, error);
    } else if (entry.mode == 1 && entry.state == 2) {
        const int64_t elapsed = ElapsedMicroseconds(entry, now);
        if (elapsed == 0) {
            // No measurable time since the previous sample: a rate would be a division by
            // zero. Nothing is reported and the previous sample stays the base, so the
            // next rate covers the whole interval.
            keepPrevious = true;
        } else if (elapsed > 0) {
            const double rate = (value - entry.previousValue) / static_cast<double>(elapsed) *
                                static_cast<double>(kMicrosecondsPerSecond);
            record.kind = 1;
            record.seconds = entry.previousSeconds;
            record.microseconds = entry.previousMicroseconds;
            record.u.current.seconds = now.seconds;
            record.u.current.microseconds = now.microseconds;
            record.rate = rate;
            TracePrint("From ComputeAndReportMeasurement: new=%g, old=%g, rate=%g", value,
                       entry.previousValue, rate);
            RefuseNegative(rate, error, result);
            TracePrint("From ComputeAndReportMeasurement: val=%f error=%s\n", rate,
                       error != nullptr ? error : "(null)");
            Report(entry, record, error);
        }
        // A clock that went back gives no rate either; this sample becomes the new base.
    }

    if (!keepPrevious) {
        entry.previousValue = value;
        entry.previousSeconds = now.seconds;
        entry.previousMicroseconds = now.microseconds;
    }
    return result;
}

void ClearSamplingTable() {
    SamplingTable().clear();
    synchronisedCount = 0;
}

bool StartSamplingThread(MonitorState &state) {
    if (state.workerThread)
        return true;
    if (!state.stopEvent)
        state.stopEvent = std::make_unique<platform::AutoResetEvent>();
    try {
        platform::AutoResetEvent *stopEvent = state.stopEvent.get();
        state.workerThread =
            std::make_unique<platform::Thread>([stopEvent] { MeasurementThreadProc(stopEvent); });
    } catch (...) {
        state.workerThread.reset();
        return false;
    }
    return true;
}

DBG_EXPORT int GetNewData(const char *valueString, const char *measurementName,
                          ValueRecord *record, char *, int) {
    try {
        std::lock_guard guard(MeasurementLock());
        SyncSamplingTable();
        size_t index = 0;
        if (!FindMeasurement(valueString != nullptr ? valueString : "",
                             measurementName != nullptr ? measurementName : "", index))
            return -1;
        ValueRecord scratch;
        std::memset(&scratch, 0, sizeof scratch);
        return ComputeAndReportMeasurement(index, record != nullptr ? *record : scratch);
    } catch (...) {
        return -1;
    }
}
