#include "tools/watch/summary.h"

#include "tools/watch/table_view.h"

#include <algorithm>

namespace watch {

std::vector<Statistics> Summarise(const std::vector<Sample> &samples, size_t measurements) {
    std::vector<Statistics> statistics(measurements);
    std::vector<double> sums(measurements, 0.0);
    for (const Sample &sample : samples) {
        if (sample.measurement >= measurements)
            continue;
        Statistics &s = statistics[sample.measurement];
        if (sample.failed) {
            ++s.errors;
            continue;
        }
        s.min = s.samples == 0 ? sample.value : std::min(s.min, sample.value);
        s.max = s.samples == 0 ? sample.value : std::max(s.max, sample.value);
        sums[sample.measurement] += sample.value;
        ++s.samples;
    }
    for (size_t i = 0; i < measurements; ++i) {
        if (statistics[i].samples > 0)
            statistics[i].mean = sums[i] / static_cast<double>(statistics[i].samples);
    }
    return statistics;
}

void PrintSummary(std::FILE *out, const std::vector<std::string> &names,
                  const std::vector<Statistics> &statistics) {
    size_t width = 11;
    for (const auto &name : names)
        width = std::max(width, name.size());
    std::fprintf(out, "\nSummary\n%-*s %8s %7s %14s %14s %14s\n", static_cast<int>(width),
                 "MEASUREMENT", "SAMPLES", "ERRORS", "MIN", "MEAN", "MAX");
    for (size_t i = 0; i < names.size(); ++i) {
        const Statistics &s = statistics.at(i);
        const bool any = s.samples > 0;
        std::fprintf(out, "%-*s %8zu %7zu %14s %14s %14s\n", static_cast<int>(width),
                     names[i].c_str(), s.samples, s.errors, any ? ValueText(s.min).c_str() : "-",
                     any ? ValueText(s.mean).c_str() : "-", any ? ValueText(s.max).c_str() : "-");
    }
}

} // namespace watch
