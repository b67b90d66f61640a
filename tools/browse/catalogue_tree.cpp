#include "tools/browse/catalogue_tree.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace browse {

namespace {

std::string Trim(const std::string &text) {
    const size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return "";
    const size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

std::string JsonString(const std::string &text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

} // namespace

std::vector<ObjectEntry> ReadTree(const host::BrowseExports &exports,
                                  const std::vector<std::string> &rateCounters) {
    std::vector<ObjectEntry> tree;
    const int objects = exports.GetNumberOfObjects();
    for (int i = 0; i < objects; ++i) {
        ObjectEntry object;
        object.name = exports.Take(exports.GetObjectById(i));
        const char *name = object.name.c_str();
        const int instances = exports.GetNumberOfInstances(name);
        for (int k = 0; k < instances; ++k)
            object.instances.push_back(exports.Take(exports.GetInstanceById(name, k)));
        const int counters = exports.GetNumberOfCounters(name);
        for (int k = 0; k < counters; ++k) {
            CounterEntry counter;
            counter.name = exports.Take(exports.GetCounterById(name, k));
            counter.description = exports.Take(exports.GetCounterDescription(counter.name.c_str()));
            counter.rate = std::find(rateCounters.begin(), rateCounters.end(), counter.name) !=
                           rateCounters.end();
            object.counters.push_back(std::move(counter));
        }
        tree.push_back(std::move(object));
    }
    return tree;
}

std::vector<std::string> RateCountersOf(const std::string &configuration) {
    // Section by section: a Name and a non-zero IsRate make a rate counter.
    std::vector<std::string> rates;
    std::ifstream in(configuration);
    std::string name;
    bool rate = false;
    auto flush = [&] {
        if (rate && !name.empty())
            rates.push_back(name);
        name.clear();
        rate = false;
    };
    for (std::string line; std::getline(in, line);) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            flush();
            continue;
        }
        const size_t eq = line.find_first_of("=:");
        if (eq == std::string::npos)
            continue;
        const std::string key = Trim(line.substr(0, eq));
        const std::string value = Trim(line.substr(eq + 1));
        if (key == "Name")
            name = value;
        else if (key == "IsRate")
            rate = std::atoi(value.c_str()) != 0;
    }
    flush();
    return rates;
}

void PrintTree(FILE *out, const std::vector<ObjectEntry> &tree) {
    for (const auto &object : tree) {
        std::fprintf(out, "%s\n", object.name.c_str());
        std::fprintf(out, "  instances (%zu)\n", object.instances.size());
        for (const auto &instance : object.instances)
            std::fprintf(out, "    %s\n", instance.c_str());
        std::fprintf(out, "  counters (%zu)\n", object.counters.size());
        for (const auto &counter : object.counters) {
            std::fprintf(out, "    %s%s\n", counter.name.c_str(), counter.rate ? "  [rate]" : "");
            std::fprintf(out, "        %s\n", counter.description.c_str());
        }
    }
}

void PrintJson(FILE *out, const std::vector<ObjectEntry> &tree) {
    std::string json = "{\"objects\":[";
    for (size_t i = 0; i < tree.size(); ++i) {
        const auto &object = tree[i];
        json += (i ? "," : "") + std::string("{\"name\":") + JsonString(object.name) +
                ",\"instances\":[";
        for (size_t k = 0; k < object.instances.size(); ++k)
            json += (k ? "," : "") + JsonString(object.instances[k]);
        json += "],\"counters\":[";
        for (size_t k = 0; k < object.counters.size(); ++k) {
            const auto &counter = object.counters[k];
            json += (k ? "," : "") + std::string("{\"name\":") + JsonString(counter.name) +
                    ",\"description\":" + JsonString(counter.description) +
                    ",\"rate\":" + (counter.rate ? "true" : "false") + "}";
        }
        json += "]}";
    }
    json += "]}\n";
    std::fputs(json.c_str(), out);
}

} // namespace browse
