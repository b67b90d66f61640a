// One sampling cycle of N measurements (N = 1, 100, 1000) as the sampling thread runs it
// (synchronise the tables, then one query, conversion and report per measurement) against
// the same N statements sent through plain libpq on one connection. Runs in-process from
// the staged bin directory against the throwaway server of DBGAUGE_TEST_PG:
//   scripts/pg_start.sh /tmp/pg && DBGAUGE_TEST_PG=/tmp/pg/server.env build/stage/bin/bench_sampling
#include "include/dbgauge.h"
#include "monitor/measurements.h"
#include "monitor/monitor_state.h"
#include "monitor/sampling.h"
#include "oracle/logon_string.h"
#include "support/config_file.h"
#include "server_env.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace {

constexpr int kStatistics = 40; // statements cycle over the first statistic numbers

void DBG_STDCALL Discard(ValueRecord, const char *, uintptr_t) {}

// Monitor initialised once; measurements are added as the sizes grow (the table only
// grows), and each benchmark samples the first N of them.
struct MonitorFixture {
    bool ok = false;
    std::string logon;
    MonitorFixture() {
        const pgoci_test::Server *server = pgoci_test::server();
        if (!server) return;
        int flag = 0;
        char error[1024];
        if (InitMonitor(0, 0, nullptr, 0, &flag, error, sizeof error) != 0) return;
        SetSamplingRate(3600); // the thread runs its first cycle and then stays out of the way
        char text[kLogonStringMax + 1];
        BuildLogonString(text, server->monitorUser.c_str(), server->connect.c_str(),
                         server->monitorPassword.c_str());
        logon = text;
        ok = true;
    }
    ~MonitorFixture() { TerminateMonitor(); }
    bool Ensure(int count) {
        char error[1024];
        for (int i = static_cast<int>(MeasurementCount()); i < count; ++i) {
            const std::string value = "2SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = " +
                                      std::to_string(i % kStatistics);
            if (ActivateMeasurement(value.c_str(), std::to_string(i).c_str(), logon.c_str(), error,
                                    sizeof error, &Discard, 0) != 0)
                return false;
        }
        return true;
    }
    static size_t MeasurementCount() {
        std::lock_guard guard(MeasurementLock());
        return MeasurementTable().size();
    }
};

// Built on first use and terminated in main, before the process-lifetime tables and
// the lock that TerminateMonitor uses are destroyed.
std::unique_ptr<MonitorFixture> fixture;
MonitorFixture &Fixture() {
    if (!fixture)
        fixture = std::make_unique<MonitorFixture>();
    return *fixture;
}

void MonitorCycle(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    if (!Fixture().ok || !Fixture().Ensure(count)) {
        state.SkipWithError("no server (DBGAUGE_TEST_PG) or activation failed");
        return;
    }
    for (auto _ : state) {
        std::lock_guard guard(MeasurementLock());
        SyncSamplingTable();
        for (int i = 0; i < count; ++i) {
            ValueRecord record;
            std::memset(&record, 0, sizeof record);
            benchmark::DoNotOptimize(ComputeAndReportMeasurement(static_cast<size_t>(i), record));
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void PlainLibpqCycle(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    const pgoci_test::Server *server = pgoci_test::server();
    if (!server) {
        state.SkipWithError("DBGAUGE_TEST_PG is not set");
        return;
    }
    PGconn *connection = PQconnectdb(pgoci_test::monitorConninfo(*server).c_str());
    if (PQstatus(connection) != CONNECTION_OK) {
        state.SkipWithError(PQerrorMessage(connection));
        PQfinish(connection);
        return;
    }
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) {
            const std::string sql = "SELECT value FROM dbgauge.\"v$sysstat\" WHERE statistic_no = " +
                                    std::to_string(i % kStatistics);
            PGresult *result = PQexec(connection, sql.c_str());
            if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1)
                benchmark::DoNotOptimize(std::strtod(PQgetvalue(result, 0, 0), nullptr));
            else
                state.SkipWithError("plain query failed");
            PQclear(result);
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    PQfinish(connection);
}

} // namespace

BENCHMARK(MonitorCycle)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLibpqCycle)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture.reset();
    return 0;
}
