#include "support/config_file.h"

#include "platform/config_store.h"
#include "platform/os_functions.h"
#include "platform/paths.h"
#include "support/message_ids.h"
#include "support/message_text.h"

#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <string>

namespace {

// The process-lifetime results of reading the configuration.
struct ConfigResults {
    std::mutex mutex;
    std::string path;
    std::map<std::string, std::string> descriptions;
    std::set<std::string> rateCounters;
};

ConfigResults &Results() {
    static ConfigResults results;
    return results;
}

std::atomic<int> samplingRate{kDefaultSamplingRate};

// Calls visit(section) for "0".."n-1" and "Custom0".."Custom(m-1)".
template <typename Visit> void ForEachCounterSection(ConfigStore *store, Visit visit) {
    const int standard = ReadConfigInt(store, "Counters", kMonitorSection, 0);
    for (int i = 0; i < standard; ++i)
        visit(std::to_string(i));
    const int custom = ReadConfigInt(store, "CustomCounters", kMonitorSection, 0);
    for (int j = 0; j < custom; ++j)
        visit("Custom" + std::to_string(j));
}

std::string CounterName(ConfigStore *store, const std::string &section) {
    char name[kCounterNameLimit + 1];
    ReadConfigString(store, "Name", section.c_str(), name, sizeof name, "");
    return name;
}

} // namespace

std::string BuildConfigFilePath() {
    char moduleDir[4096];
    os_get_my_module_dir_name("", moduleDir, sizeof moduleDir);
    return platform::JoinPath(moduleDir, "\\..\\dat\\monitors\\dbgauge.cfg");
}

std::string ConfigFilePath() {
    ConfigResults &results = Results();
    std::lock_guard guard(results.mutex);
    return results.path;
}

void ReadMonitorSettings(ConfigStore *store) { ReadMonitorSettingsFrom(store, BuildConfigFilePath()); }

void ReadMonitorSettingsFrom(ConfigStore *store, const std::string &path) {
    {
        ConfigResults &results = Results();
        std::lock_guard guard(results.mutex);
        results.path = path;
    }
    config_add_ini_new_file_source(store, path.c_str());
    SetSamplingRate(ReadConfigInt(store, "SamplingRate", kMonitorSection, kDefaultSamplingRate));
}

void ReadCounterDescriptions(ConfigStore *store) {
    ForEachCounterSection(store, [store](const std::string &section) {
        const std::string name = CounterName(store, section);
        char *fallback = DescriptionBuffer();
        FormatCatalogueMessage(fallback, static_cast<int>(kMessageBufferSize),
                               msg::kDefaultDescription);
        char description[kDescriptionLimit + 1];
        ReadConfigString(store, "Description", section.c_str(), description, sizeof description,
                         fallback);
        ConfigResults &results = Results();
        std::lock_guard guard(results.mutex);
        results.descriptions[name] = description;
    });
}

void ReadRateCounters(ConfigStore *store) {
    ForEachCounterSection(store, [store](const std::string &section) {
        if (ReadConfigInt(store, "IsRate", section.c_str(), 0) == 0)
            return;
        const std::string name = CounterName(store, section);
        ConfigResults &results = Results();
        std::lock_guard guard(results.mutex);
        results.rateCounters.insert(name);
    });
}

size_t ReadConfigString(ConfigStore *store, const char *key, const char *section, char *dst,
                        size_t size, const char *fallback) {
    const std::string path = ConfigFilePath();
    const char *value = config_get_attrib_val(store, path.c_str(), section, key);
    return static_cast<size_t>(
        CopyBounded(dst, value ? value : fallback, static_cast<long long>(size)));
}

int ReadConfigInt(ConfigStore *store, const char *key, const char *section, int fallback) {
    const std::string path = ConfigFilePath();
    const char *value = config_get_attrib_val(store, path.c_str(), section, key);
    if (value == nullptr)
        return fallback;
    // Read as atoi does, without its undefined result for values out of range.
    long long number = std::strtoll(value, nullptr, 10);
    if (number > 2147483647LL)
        return 2147483647;
    if (number < -2147483647LL - 1)
        return -2147483647 - 1;
    return static_cast<int>(number);
}

int SamplingRate() { return samplingRate.load(); }

void SetSamplingRate(int seconds) { samplingRate.store(seconds); }

std::optional<std::string> CounterDescription(const std::string &counter) {
    ConfigResults &results = Results();
    std::lock_guard guard(results.mutex);
    auto found = results.descriptions.find(counter);
    if (found == results.descriptions.end())
        return std::nullopt;
    return found->second;
}

bool IsRateCounter(const std::string &counter) {
    ConfigResults &results = Results();
    std::lock_guard guard(results.mutex);
    return results.rateCounters.count(counter) != 0;
}

size_t CounterDescriptionCount() {
    ConfigResults &results = Results();
    std::lock_guard guard(results.mutex);
    return results.descriptions.size();
}

size_t RateCounterCount() {
    ConfigResults &results = Results();
    std::lock_guard guard(results.mutex);
    return results.rateCounters.size();
}

void CreateConfigResults() { Results(); }
