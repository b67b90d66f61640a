// The monitor's configuration file, dbgauge.cfg, and what is read from it: the sampling
// rate, the counter descriptions and the set of rate counters. The description map and
// the rate set live for the whole process; every read of the configuration adds to them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

struct ConfigStore;

inline constexpr const char *kMonitorSection = "V$ Monitor";
inline constexpr int kDefaultSamplingRate = 5;
inline constexpr size_t kCounterNameLimit = 512;
inline constexpr size_t kDescriptionLimit = 1024;

// "<directory of the library>/../dat/monitors/dbgauge.cfg", resolved.
std::string BuildConfigFilePath();

// The path of the last ReadMonitorSettings ("" before it).
std::string ConfigFilePath();

// Builds and keeps the file path, registers the file with store and reads the sampling
// rate ("SamplingRate" of "V$ Monitor", read as atoi reads it; 5 when absent). A missing
// file is no error: every read then yields its default.
void ReadMonitorSettings(ConfigStore *store);
// The same with a given configuration file path.
void ReadMonitorSettingsFrom(ConfigStore *store, const std::string &path);

// Adds "Name" -> "Description" of every counter section ("0".."n-1" and
// "Custom0".."Custom(m-1)") to the description map; a later section of the same name
// replaces the description. Without "Description" a counter gets message -95003.
void ReadCounterDescriptions(ConfigStore *store);

// Adds the name of every counter section whose "IsRate" reads as a non-zero integer to
// the rate counter set.
void ReadRateCounters(ConfigStore *store);

// Copies the value of (config file, section, key), or fallback when there is none, into
// dst, which holds size bytes: at most size - 1 characters, then a terminator. Returns
// the number of characters kept.
size_t ReadConfigString(ConfigStore *store, const char *key, const char *section, char *dst,
                        size_t size, const char *fallback);

// The integer value of a key as atoi reads it, or fallback when absent.
int ReadConfigInt(ConfigStore *store, const char *key, const char *section, int fallback);

// Seconds between sampling cycles; safe to read from any thread.
int SamplingRate();
void SetSamplingRate(int seconds);

// The configured description of a counter, if any.
std::optional<std::string> CounterDescription(const std::string &counter);
// True when the configuration marks the counter as a rate.
bool IsRateCounter(const std::string &counter);
size_t CounterDescriptionCount();
size_t RateCounterCount();

// Builds the process-lifetime path, description map and rate set now (they are otherwise
// built on first use), so that the library's load order is fixed.
void CreateConfigResults();
