// --chart FILE.svg: one panel per measurement, its good samples over the run's time as a
// line with the value range on the left. Plain SVG written by hand.
#pragma once

#include "tools/watch/sample_log.h"

#include <string>
#include <vector>

namespace watch {

// The SVG text of the chart.
std::string SvgChart(const std::vector<std::string> &names, const std::vector<Sample> &samples);

// Writes the chart to path; false when the file cannot be written.
bool WriteSvgChart(const std::string &path, const std::vector<std::string> &names,
                   const std::vector<Sample> &samples);

// Text made safe for XML character data and attribute values.
std::string XmlEscape(const std::string &text);

} // namespace watch
