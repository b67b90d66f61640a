// What a database offers to measure, read through the browse exports the way a
// controller's browse dialog reads it: objects, their instances, their counters with
// descriptions and rate flags.
#pragma once

#include "tools/host/browse_exports.h"

#include <cstdio>
#include <string>
#include <vector>

namespace browse {

struct CounterEntry {
    std::string name;
    std::string description;
    bool rate = false;
};

struct ObjectEntry {
    std::string name;
    std::vector<std::string> instances;
    std::vector<CounterEntry> counters;
};

// Reads every object; rate flags come from rateCounters (the configuration's rate set,
// which the browse exports do not list).
std::vector<ObjectEntry> ReadTree(const host::BrowseExports &exports,
                                  const std::vector<std::string> &rateCounters);

// The rate counters of a configuration file: names of sections whose IsRate is non-zero.
std::vector<std::string> RateCountersOf(const std::string &configuration);

// For a person: an indented tree, rate counters marked "[rate]".
void PrintTree(FILE *out, const std::vector<ObjectEntry> &tree);
// For scripts: one JSON document.
void PrintJson(FILE *out, const std::vector<ObjectEntry> &tree);

} // namespace browse
