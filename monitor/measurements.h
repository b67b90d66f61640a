// The measurement table: one entry per (value string, measurement name) that the host
// has ever activated, in the order of first activation. An entry's position pairs it
// with its sampling entry (monitor/sampling.h). Only the holder of MeasurementLock()
// reads or changes the table.
#pragma once

#include "include/dbgauge.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class OracleConnection;

struct Measurement {
    std::string valueString;     // mode character, then the statement
    std::string measurementName; // the host's second identifying text
    std::string logonString;     // as given at the first activation
    bool active = false;
    ValueCallback callback = nullptr;
    uintptr_t context = 0;
    OracleConnection *connection = nullptr; // owned by the ConnectionCache
};

// The process-lifetime table. Caller holds MeasurementLock().
std::vector<Measurement> &MeasurementTable();

// Index of the first entry whose value string and name equal the arguments, byte for
// byte. False when there is none (index is left unchanged). Caller holds the lock.
bool FindMeasurement(const char *valueString, const char *measurementName, size_t &index);

// Empties the measurement table and the sampling table. Called when the connections the
// entries refer to are released, so that no entry outlives its connection.
void ClearMeasurementTables();

// Builds the process-lifetime tables now (they are otherwise built on first use), so that
// the library's load order is fixed.
void CreateMeasurementTables();
