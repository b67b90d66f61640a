// --csv FILE: every sample as one line of comma-separated values with a header line.
#pragma once

#include "tools/watch/sample_log.h"

#include <fstream>
#include <string>
#include <vector>

namespace watch {

class CsvWriter {
public:
    // False from ok() when the file cannot be created.
    CsvWriter(const std::string &path, std::vector<std::string> names);
    bool ok() const { return out_.good(); }
    void Write(const std::vector<Sample> &samples);

private:
    std::ofstream out_;
    std::vector<std::string> names_;
};

// A field quoted as CSV needs it: in double quotes when it holds a comma, a quote or a
// line break, with its quotes doubled.
std::string CsvField(const std::string &text);

} // namespace watch
