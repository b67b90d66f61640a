// The state of the current browse: the picked measurements, the logon string of the
// latest browse and the connection in use. Used on the host's thread only.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

class OracleConnection;
class ObjectSources;

// A picked measurement as one key: for the object, counter and instance names in turn,
// one unsigned byte holding the name's length followed by the name. Keys order by
// unsigned byte comparison (std::string compares that way), so shorter object names come
// first.
inline constexpr size_t kPickNameMax = 255;

struct PickedMeasurement {
    std::string object;
    std::string counter;
    std::string instance;
};

// The key of (object, counter, instance), or nothing when a name is 256 bytes or longer
// and its length cannot be held in one byte.
std::optional<std::string> EncodePickKey(std::string_view object, std::string_view counter,
                                         std::string_view instance);
// The three names of a key made by EncodePickKey.
PickedMeasurement DecodePickKey(const std::string &key);

struct BrowseState {
    std::set<std::string> picked;
    std::string logonString;
    // Owned by the connection cache; null when no logon is in use.
    OracleConnection *connectionInUse = nullptr;
};

// What the performance objects read from the monitor: the browse state's connection in
// use and the configuration store of the one MonitorState.
const ObjectSources &MonitorObjectSources();
