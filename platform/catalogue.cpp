#include "platform/catalogue.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Resource {
    std::string path;
    std::map<int, std::string> messages;
};

struct Catalogue {
    std::mutex mutex;
    bool prepared = false;
    std::vector<Resource> resources; // in registration order
};

Catalogue &TheCatalogue() {
    static Catalogue catalogue;
    return catalogue;
}

std::string Unescaped(const std::string &text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == 'n' || next == 't' || next == '\\') {
                out += next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Parses "ID<TAB>text"; false for anything else.
bool ParseLine(const std::string &line, int &id, std::string &text) {
    size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0)
        return false;
    std::string number = line.substr(0, tab);
    char *end = nullptr;
    long value = std::strtol(number.c_str(), &end, 10);
    if (*end != '\0' || value < -2147483647L - 1 || value > 2147483647L)
        return false;
    id = static_cast<int>(value);
    text = Unescaped(line.substr(tab + 1));
    return true;
}

std::string Expanded(const std::string &pattern, va_list *args) {
    std::vector<const char *> given; // arguments read so far
    bool ended = false;
    auto argument = [&](int index) -> const char * {
        while (!ended && static_cast<int>(given.size()) < index) {
            const char *next = va_arg(*args, const char *);
            if (next == nullptr)
                ended = true;
            else
                given.push_back(next);
        }
        return index <= static_cast<int>(given.size()) ? given[index - 1] : "";
    };
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            char next = pattern[i + 1];
            if (next >= '1' && next <= '9') {
                out += argument(next - '0');
                ++i;
                continue;
            }
            if (next == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

} // namespace

int MsgHandlerInitFunction() {
    Catalogue &catalogue = TheCatalogue();
    std::lock_guard guard(catalogue.mutex);
    catalogue.prepared = true;
    return 0;
}

int AddResourceFile(const char *path) {
    if (path == nullptr)
        return 1;
    Catalogue &catalogue = TheCatalogue();
    std::lock_guard guard(catalogue.mutex);
    if (!catalogue.prepared)
        return 3;
    const std::string file = std::string(path) + platform::kCatalogueExtension;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return 1;
    Resource resource{path, {}};
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        int id = 0;
        std::string text;
        if (!ParseLine(line, id, text)) {
            std::fprintf(stderr, "%s:%d: not a message line (expected ID<TAB>text)\n",
                         file.c_str(), lineNumber);
            return 2;
        }
        resource.messages[id] = std::move(text);
    }
    std::erase_if(catalogue.resources, [&](const Resource &r) { return r.path == path; });
    catalogue.resources.push_back(std::move(resource));
    return 0;
}

int FormatGenericMessage(int, int, unsigned, int id, va_list *args, char **out) {
    if (out == nullptr || args == nullptr)
        return -1;
    std::string pattern;
    bool found = false;
    {
        Catalogue &catalogue = TheCatalogue();
        std::lock_guard guard(catalogue.mutex);
        for (auto r = catalogue.resources.rbegin(); r != catalogue.resources.rend(); ++r) {
            auto message = r->messages.find(id);
            if (message != r->messages.end()) {
                pattern = message->second;
                found = true;
                break;
            }
        }
    }
    std::string text = found ? Expanded(pattern, args)
                             : "Message " + std::to_string(id) +
                                   " is not in the message catalogue; reinstall the "
                                   "catalogue file";
    *out = strdup(text.c_str());
    return found ? 0 : 1;
}

void FreeGenericMessage(char *text) { std::free(text); }

int RemoveResourceFile(const char *path) {
    if (path == nullptr)
        return 1;
    Catalogue &catalogue = TheCatalogue();
    std::lock_guard guard(catalogue.mutex);
    size_t removed = std::erase_if(catalogue.resources,
                                   [&](const Resource &r) { return r.path == path; });
    return removed > 0 ? 0 : 1;
}

int MsgHandlerDestroyFunction() {
    Catalogue &catalogue = TheCatalogue();
    std::lock_guard guard(catalogue.mutex);
    if (!catalogue.prepared)
        return -1;
    const int result = catalogue.resources.empty() ? 0 : 1;
    catalogue.resources.clear();
    catalogue.prepared = false;
    return result;
}
