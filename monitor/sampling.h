// The sampling side of the measurements: the sampling table that mirrors the measurement
// table, one sample of one entry (ComputeAndReportMeasurement) and the sampling thread.
// Every function here expects its caller to hold MeasurementLock() unless it says
// otherwise.
#pragma once

#include "include/dbgauge.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class OracleConnection;
struct MonitorState;

struct SamplingEntry {
    std::string valueString;
    std::string measurementName;
    std::string logonString;
    // 0: not sampled (inactive); 1: active, the next sample is the first; 2: active and a
    // previous sample exists.
    int32_t state = 0;
    // 0 reports the value, 1 the rate per second; any other number reports nothing.
    int32_t mode = 0;
    double previousValue = 0.0;
    int32_t previousSeconds = 0;
    int32_t previousMicroseconds = 0;
    ValueCallback callback = nullptr;
    uintptr_t context = 0;
    OracleConnection *connection = nullptr; // not owned
};

// The process-lifetime sampling table and how many measurements it mirrors so far.
std::vector<SamplingEntry> &SamplingTable();
size_t SynchronisedCount();

// How many sampling cycles the sampling threads of this process have finished (the lock
// released). Safe from any thread; tests use it to know that a cycle is over.
uint64_t CompletedSamplingCycles();

// The mode of a value string: its first byte c, as a signed number, gives c - 1 when it
// is at most '0' and c - 49 otherwise ("1" value, "2" rate).
int32_t DecodeMode(const std::string &valueString);

// Brings the sampling table up to date with the measurement table.
void SyncSamplingTable();

// Takes one sample of sampling entry index, fills record and calls the entry's callback.
// Returns 1 when the entry is inactive, -1 when the sample failed or is negative, else 0.
int ComputeAndReportMeasurement(size_t index, ValueRecord &record);

// Empties the sampling table and resets the synchronised count.
void ClearSamplingTable();

// Starts the sampling thread of state unless it runs. False when it cannot be started.
// Caller holds MeasurementLock(), so that two first activations start one thread.
bool StartSamplingThread(MonitorState &state);
