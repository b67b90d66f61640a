// One oparse + odefin + oexfet cycle of the client against the same statement sent
// through plain libpq, on the throwaway server of DBGAUGE_TEST_PG:
//   scripts/pg_start.sh /tmp/pg && DBGAUGE_TEST_PG=/tmp/pg/server.env build/stage/bin/bench_pgoci
#include <string>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include "oci7.h"
#include "server_env.h"

namespace {

const char *kClientStatement = "SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = 2";
const char *kPlainStatement =
    "SELECT xact_commit FROM pg_catalog.pg_stat_database WHERE datname = current_database()";

void ClientCycle(benchmark::State &state, const char *statement) {
    const pgoci_test::Server *server = pgoci_test::server();
    if (!server) {
        state.SkipWithError("DBGAUGE_TEST_PG is not set");
        return;
    }
    OciDataArea lda{};
    unsigned char hda[OCI_HOST_AREA_SIZE]{};
    if (olog(&lda, hda, server->monitorUser.c_str(), -1, server->monitorPassword.c_str(), -1,
             server->connect.c_str(), -1, 0) != 0) {
        state.SkipWithError("logon failed");
        ologof(&lda);
        return;
    }
    for (auto _ : state) {
        OciDataArea cda{};
        char value[30];
        int16_t indicator = 0;
        oopen(&cda, &lda, nullptr, -1, -1, nullptr, -1);
        oparse(&cda, statement, -1, 1, 1);
        odefin(&cda, 1, value, sizeof value, 5, 0, &indicator, nullptr, -1, -1, nullptr, nullptr);
        if (oexfet(&cda, 1, 0, 0) != 0) state.SkipWithError("fetch failed");
        oclose(&cda);
        benchmark::DoNotOptimize(value);
    }
    ologof(&lda);
}

void PlainLibpq(benchmark::State &state, const char *statement) {
    const pgoci_test::Server *server = pgoci_test::server();
    if (!server) {
        state.SkipWithError("DBGAUGE_TEST_PG is not set");
        return;
    }
    PGconn *conn = PQconnectdb(pgoci_test::monitorConninfo(*server).c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        state.SkipWithError("connect failed");
        PQfinish(conn);
        return;
    }
    PQclear(PQexec(conn, "SET search_path = \"$user\", dbgauge, public"));
    for (auto _ : state) {
        PGresult *r = PQexecParams(conn, statement, 0, nullptr, nullptr, nullptr, nullptr, 0);
        if (PQresultStatus(r) != PGRES_TUPLES_OK) state.SkipWithError("query failed");
        benchmark::DoNotOptimize(PQgetvalue(r, 0, 0));
        PQclear(r);
    }
    PQfinish(conn);
}

} // namespace

// The monitor's statement through the client, the same statement through libpq, and
// the plain statistics-view query it stands for.
BENCHMARK_CAPTURE(ClientCycle, sysstat_one_statistic, kClientStatement)->UseRealTime();
BENCHMARK_CAPTURE(PlainLibpq, sysstat_one_statistic, "SELECT value FROM v$sysstat WHERE statistic_no = 2")
    ->UseRealTime();
BENCHMARK_CAPTURE(PlainLibpq, pg_stat_database, kPlainStatement)->UseRealTime();
BENCHMARK_CAPTURE(ClientCycle, select_constant, "SELECT 1")->UseRealTime();
BENCHMARK_CAPTURE(PlainLibpq, select_constant, "SELECT 1")->UseRealTime();

BENCHMARK_MAIN();
