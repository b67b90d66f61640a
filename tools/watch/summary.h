// The end-of-run summary per measurement: samples, failed samples, min, mean and max of
// the good samples.
#pragma once

#include "tools/watch/sample_log.h"

#include <cstdio>
#include <string>
#include <vector>

namespace watch {

struct Statistics {
    size_t samples = 0; // good samples
    size_t errors = 0;  // failed samples
    double min = 0, mean = 0, max = 0;
};

std::vector<Statistics> Summarise(const std::vector<Sample> &samples, size_t measurements);

void PrintSummary(std::FILE *out, const std::vector<std::string> &names,
                  const std::vector<Statistics> &statistics);

} // namespace watch
