#include "platform/config_store.h"

#include <fstream>
#include <map>
#include <new>
#include <string>

namespace {
using Section = std::map<std::string, std::string>;
using Source = std::map<std::string, Section>;

std::string Trimmed(const std::string &text) {
    const char *blanks = " \t\r\n\f\v";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

Source ParseIni(std::istream &in) {
    Source source;
    std::string section;
    std::string line;
    bool firstLine = true;
    while (std::getline(in, line)) {
        if (firstLine && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3); // byte order mark
        firstLine = false;
        std::string text = Trimmed(line);
        if (text.empty() || text[0] == ';' || text[0] == '#')
            continue;
        if (text[0] == '[') {
            size_t close = text.find(']');
            if (close != std::string::npos)
                section = Trimmed(text.substr(1, close - 1));
            continue;
        }
        size_t separator = text.find('=');
        if (separator == std::string::npos)
            separator = text.find(':');
        if (separator == std::string::npos || separator == 0)
            continue; // not a key line; ignored like a comment
        source[section][Trimmed(text.substr(0, separator))] = Trimmed(text.substr(separator + 1));
    }
    return source;
}
} // namespace

struct ConfigStore {
    std::map<std::string, Source> sources;
};

ConfigStore *new_config() { return new (std::nothrow) ConfigStore; }

int config_add_ini_new_file_source(ConfigStore *store, const char *path) {
    if (store == nullptr || path == nullptr)
        return -1;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        store->sources[path] = Source{};
        return -1;
    }
    store->sources[path] = ParseIni(in);
    return 0;
}

const char *config_get_attrib_val(ConfigStore *store, const char *source, const char *section,
                                  const char *key) {
    if (store == nullptr || source == nullptr || section == nullptr || key == nullptr)
        return nullptr;
    auto file = store->sources.find(source);
    if (file == store->sources.end())
        return nullptr;
    auto part = file->second.find(section);
    if (part == file->second.end())
        return nullptr;
    auto value = part->second.find(key);
    return value == part->second.end() ? nullptr : value->second.c_str();
}

int delete_config(ConfigStore *store) {
    delete store;
    return 0;
}
