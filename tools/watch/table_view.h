// The live view for a person: one row per measurement with its latest value or rate per
// second, the time of that sample and the error text of a failed sample. On a terminal
// the table is redrawn in place (ANSI); otherwise every new sample is printed as a line.
#pragma once

#include "tools/watch/sample_log.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace watch {

class TableView {
public:
    TableView(std::FILE *out, std::vector<std::string> names, bool redraw);
    // Takes the new samples into the rows and shows them.
    void Update(const std::vector<Sample> &fresh);

private:
    struct Row {
        std::optional<Sample> latest;
    };
    void Redraw();
    void PrintLine(const Sample &sample);

    std::FILE *out_;
    std::vector<std::string> names_;
    std::vector<Row> rows_;
    bool redraw_;
    int linesDrawn_ = 0;
};

// "HH:MM:SS.mmm" in local time.
std::string ClockText(double time);
// A value as people read it: up to 6 significant digits, no exponent for usual sizes.
std::string ValueText(double value);

} // namespace watch
