// What the watched measurements have reported: every sample in arrival order, per
// measurement. Written by the monitor's value callback (on its sampling thread, or on the
// host's thread during a pull) and read by the views; all members are thread safe.
#pragma once

#include "include/dbgauge.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace watch {

struct Sample {
    size_t measurement = 0; // index into the watched list
    bool isRate = false;    // the record was a rate per second
    double time = 0.0;      // time of the sample, seconds since the epoch
    double value = 0.0;     // the value, or the rate per second
    bool failed = false;
    std::string error;      // the monitor's text when the sample failed
};

class SampleLog {
public:
    explicit SampleLog(std::vector<std::string> names);

    const std::vector<std::string> &names() const { return names_; }

    // The ValueCallback handed to ActivateMeasurement; context is ContextOf(index).
    static void DBG_STDCALL OnValue(ValueRecord record, const char *errorText, uintptr_t context);
    uintptr_t ContextOf(size_t index);

    void Add(Sample sample);
    // Samples from position `from` on; `from` is moved past them.
    std::vector<Sample> Since(size_t &from) const;
    std::vector<Sample> All() const;

private:
    struct Channel {
        SampleLog *log;
        size_t index;
    };
    std::vector<std::string> names_;
    std::vector<Channel> channels_;
    mutable std::mutex mutex_;
    std::vector<Sample> samples_;
};

// The sample a ValueRecord carries, as the views show it.
Sample SampleFromRecord(const ValueRecord &record, const char *errorText, size_t index);

} // namespace watch
