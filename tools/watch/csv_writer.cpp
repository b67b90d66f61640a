#include "tools/watch/csv_writer.h"

#include <cstdio>

namespace watch {

std::string CsvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

CsvWriter::CsvWriter(const std::string &path, std::vector<std::string> names)
    : out_(path, std::ios::trunc), names_(std::move(names)) {
    out_ << "time,measurement,kind,value,error\n";
    out_.flush();
}

void CsvWriter::Write(const std::vector<Sample> &samples) {
    for (const Sample &sample : samples) {
        char time[32], value[40];
        std::snprintf(time, sizeof time, "%.6f", sample.time);
        std::snprintf(value, sizeof value, "%.17g", sample.value);
        out_ << time << ',' << CsvField(names_.at(sample.measurement)) << ','
             << (sample.isRate ? "rate" : "value") << ',' << value << ','
             << CsvField(sample.error) << '\n';
    }
    out_.flush();
}

} // namespace watch
