#include "monitor/browse_state.h"

#include "monitor/monitor_state.h"
#include "objects/object_info.h"

namespace {

class MonitorSources final : public ObjectSources {
public:
    OracleConnection *ConnectionInUse() const override {
        const MonitorState &state = Monitor();
        return state.browse ? state.browse->connectionInUse : nullptr;
    }
    ConfigStore *Store() const override { return Monitor().configStore; }
};

void AppendName(std::string &key, std::string_view name) {
    key.push_back(static_cast<char>(static_cast<unsigned char>(name.size())));
    key.append(name);
}

std::string ReadName(const std::string &key, size_t &at) {
    if (at >= key.size())
        return {};
    const size_t length = static_cast<unsigned char>(key[at++]);
    const size_t available = std::min(length, key.size() - at);
    std::string name = key.substr(at, available);
    at += available;
    return name;
}

} // namespace

std::optional<std::string> EncodePickKey(std::string_view object, std::string_view counter,
                                         std::string_view instance) {
    if (object.size() > kPickNameMax || counter.size() > kPickNameMax ||
        instance.size() > kPickNameMax)
        return std::nullopt;
    std::string key;
    key.reserve(3 + object.size() + counter.size() + instance.size());
    AppendName(key, object);
    AppendName(key, counter);
    AppendName(key, instance);
    return key;
}

PickedMeasurement DecodePickKey(const std::string &key) {
    size_t at = 0;
    PickedMeasurement pick;
    pick.object = ReadName(key, at);
    pick.counter = ReadName(key, at);
    pick.instance = ReadName(key, at);
    return pick;
}

const ObjectSources &MonitorObjectSources() {
    static const MonitorSources sources;
    return sources;
}
