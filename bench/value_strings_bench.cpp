// Building every value string of the V$SESSTAT object: 500 session instances × 2,000
// counters, the lists fed directly (no database). The counter lookup of the statement is
// a hash index built with the counter list; the reference benchmark does the same work
// with a linear scan of the list for the statistic number.
#include "objects/object_info.h"
#include "objects/statistics_objects.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kCounters = 2000;
constexpr int kInstances = 500;

class NoSources final : public ObjectSources {
public:
    OracleConnection *ConnectionInUse() const override { return nullptr; }
    ConfigStore *Store() const override { return nullptr; }
};

std::vector<std::string> CounterNames() {
    std::vector<std::string> names;
    for (int i = 0; i < kCounters; ++i)
        names.push_back("statistic number " + std::to_string(i) + " of the session");
    return names;
}

std::vector<std::string> InstanceNames() {
    std::vector<std::string> names;
    for (int i = 0; i < kInstances; ++i)
        names.push_back(std::to_string(1000 + i) + "/user" + std::to_string(i) + "/10.0.0.1/app");
    return names;
}

// The session object with its lists given instead of loaded.
class FedSessionObject final : public CVSESSTATInfo {
public:
    explicit FedSessionObject(const ObjectSources &sources) : CVSESSTATInfo(sources) {}
    void LoadCounters() override { SetCounters(CounterNames()); }
    void LoadInstances() override { SetInstances(InstanceNames()); }
};

void BM_SessionValueStrings(benchmark::State &state) {
    NoSources sources;
    ObjectList objects;
    objects.push_back(std::make_unique<FedSessionObject>(sources));
    CObjectInfo &object = *objects.front();
    const std::vector<std::string> counters = object.Counters();
    const std::vector<std::string> instances = object.Instances();
    char value[512];
    for (auto _ : state) {
        for (const auto &instance : instances) {
            for (const auto &counter : counters) {
                BuildValueString(objects, "V$SESSTAT", counter.c_str(), instance.c_str(), value,
                                 sizeof value - 1);
                benchmark::DoNotOptimize(value);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kCounters * kInstances);
}
BENCHMARK(BM_SessionValueStrings)->Unit(benchmark::kMillisecond);

// The same statements with the statistic number found by a scan of the list (the first
// counter of that name), as a lookup without an index does it.
void BM_SessionValueStringsLinearScan(benchmark::State &state) {
    const std::vector<std::string> counters = CounterNames();
    const std::vector<std::string> instances = InstanceNames();
    for (auto _ : state) {
        for (const auto &instance : instances) {
            for (const auto &counter : counters) {
                const size_t number = static_cast<size_t>(
                    std::find(counters.begin(), counters.end(), counter) - counters.begin());
                std::string statement = "1SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = " +
                                        std::to_string(number) + " AND SID = " +
                                        SessionIdText(instance);
                benchmark::DoNotOptimize(statement);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kCounters * kInstances);
}
BENCHMARK(BM_SessionValueStringsLinearScan)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
