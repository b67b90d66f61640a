#include "tools/watch/sample_log.h"

namespace watch {

SampleLog::SampleLog(std::vector<std::string> names) : names_(std::move(names)) {
    channels_.reserve(names_.size());
    for (size_t i = 0; i < names_.size(); ++i)
        channels_.push_back({this, i});
}

uintptr_t SampleLog::ContextOf(size_t index) {
    return reinterpret_cast<uintptr_t>(&channels_.at(index));
}

void SampleLog::OnValue(ValueRecord record, const char *errorText, uintptr_t context) {
    const auto *channel = reinterpret_cast<const Channel *>(context);
    if (channel == nullptr)
        return;
    channel->log->Add(SampleFromRecord(record, errorText, channel->index));
}

void SampleLog::Add(Sample sample) {
    std::lock_guard guard(mutex_);
    samples_.push_back(std::move(sample));
}

std::vector<Sample> SampleLog::Since(size_t &from) const {
    std::lock_guard guard(mutex_);
    std::vector<Sample> fresh;
    if (from < samples_.size())
        fresh.assign(samples_.begin() + static_cast<std::ptrdiff_t>(from), samples_.end());
    from = samples_.size();
    return fresh;
}

std::vector<Sample> SampleLog::All() const {
    std::lock_guard guard(mutex_);
    return samples_;
}

Sample SampleFromRecord(const ValueRecord &record, const char *errorText, size_t index) {
    Sample sample;
    sample.measurement = index;
    sample.isRate = record.kind == 1;
    if (sample.isRate) {
        sample.time = record.u.current.seconds + record.u.current.microseconds / 1e6;
        sample.value = record.rate;
    } else {
        sample.time = record.seconds + record.microseconds / 1e6;
        sample.value = record.u.value;
    }
    sample.failed = errorText != nullptr;
    if (errorText != nullptr)
        sample.error = errorText;
    return sample;
}

} // namespace watch
