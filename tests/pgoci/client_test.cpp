// The ten calls against the throwaway server, driven the way the monitor drives them.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

using namespace pgoci_test;

namespace {

class Client : public ::testing::Test {
protected:
    void SetUp() override {
        s = server();
        if (!s) GTEST_SKIP() << "DBGAUGE_TEST_PG is not set";
    }
    const Server *s = nullptr;
};

// An open cursor on a logon, closed on destruction.
struct Cursor {
    OciDataArea cda{};
    explicit Cursor(Logon &logon) { oopen(&cda, &logon.lda, nullptr, -1, -1, nullptr, -1); }
    ~Cursor() { oclose(&cda); }
    int parseNow(const std::string &sql) { return oparse(&cda, sql.c_str(), -1, 0, 1); }
};

} // namespace

TEST_F(Client, LogonAndWrongPassword) {
    Logon good(s->monitorUser, s->monitorPassword, s->connect);
    EXPECT_EQ(good.rc, 0) << good.errorText(good.rc);
    std::string app;
    EXPECT_EQ(fetchText(good, "SELECT current_setting('application_name')", &app, nullptr), 0);
    EXPECT_EQ(app, "dbgauge");
    std::string path;
    EXPECT_EQ(fetchText(good, "SHOW search_path", &path, nullptr), 0);
    EXPECT_EQ(path, "\"$user\", dbgauge, public");

    const std::string wrong = "Wrong-Passw0rd";
    Logon bad(s->monitorUser, wrong, s->connect);
    EXPECT_EQ(bad.rc, 1017);
    EXPECT_EQ(bad.lda.rc, 1017);
    std::string text = bad.errorText(bad.lda.rc);
    EXPECT_EQ(text.rfind("ORA-01017: invalid username/password; logon denied: ", 0), 0u) << text;
    EXPECT_NE(text.find("password authentication failed"), std::string::npos) << text;
    EXPECT_EQ(text.find(wrong), std::string::npos) << text;

    // The libpq connection string form, with the password inside it.
    Logon viaConninfo("", "", monitorConninfo(*s));
    EXPECT_EQ(viaConninfo.rc, 0) << viaConninfo.errorText(viaConninfo.rc);
    Logon noDatabase(s->monitorUser, s->monitorPassword, s->host + ":" + s->port + "/nosuchdb");
    EXPECT_EQ(noDatabase.rc, 12514);
}

TEST_F(Client, TheSixViewsParseForTheMonitorRole) {
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    Cursor c(logon);
    for (const char *view : {"V$SYSSTAT", "V$SESSTAT", "V$STATNAME", "V$INSTANCE", "V$SESSION",
                             "V$PROCESS", "DUAL"})
        EXPECT_EQ(c.parseNow(std::string("SELECT * FROM ") + view), 0)
            << view << ": " << logon.errorText(c.cda.rc);
    EXPECT_EQ(c.parseNow("SELECT * FROM V$NOSUCH"), 942);
    EXPECT_EQ(c.cda.rc, 942);
    std::string text = logon.errorText(942);
    EXPECT_EQ(text.rfind("ORA-00942: table or view does not exist: ", 0), 0u) << text;
    EXPECT_NE(text.find("v$nosuch"), std::string::npos) << text;
}

TEST_F(Client, ARoleWithoutAccessToOneViewFailsItsParse) {
    const std::string role = "pgoci_limited", password = "limited-pw-1";
    adminExecute("DROP ROLE IF EXISTS " + role);
    adminExecute("CREATE ROLE " + role + " LOGIN PASSWORD '" + password + "'");
    adminExecute("GRANT SELECT ON dbgauge.\"v$sysstat\", dbgauge.\"v$sesstat\", "
                 "dbgauge.\"v$statname\", dbgauge.\"v$instance\", dbgauge.\"v$session\" TO " +
                 role);
    {
        Logon logon(role, password, s->connect);
        ASSERT_EQ(logon.rc, 0) << logon.errorText(logon.rc);
        Cursor c(logon);
        EXPECT_EQ(c.parseNow("SELECT * FROM V$SESSION"), 0) << logon.errorText(c.cda.rc);
        EXPECT_EQ(c.parseNow("SELECT * FROM V$PROCESS"), 1031);
        EXPECT_EQ(logon.errorText(1031).rfind("ORA-01031: insufficient privileges: ", 0), 0u);
    }
    adminExecute("DROP OWNED BY " + role);
    adminExecute("DROP ROLE " + role);
}

TEST_F(Client, SingleValuesIndicatorsAndFetchOutcomes) {
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    int32_t count = -1;
    int16_t indicator = 7;
    EXPECT_EQ(fetchInt(logon, "SELECT COUNT(*) FROM V$STATNAME", &count, &indicator), 0);
    EXPECT_GE(count, 40);
    EXPECT_EQ(indicator, 0);

    std::string text;
    EXPECT_EQ(fetchText(logon, "SELECT 12.5 FROM DUAL", &text, &indicator), 0);
    EXPECT_EQ(text, "12.5");
    EXPECT_EQ(fetchText(logon, "SELECT NVL(NULL, 7) FROM DUAL", &text, &indicator), 0);
    EXPECT_EQ(text, "7");
    EXPECT_EQ(fetchText(logon, "SELECT NULL::numeric FROM DUAL", &text, &indicator), 0);
    EXPECT_EQ(indicator, -1);
    EXPECT_EQ(text, "unchanged"); // a NULL leaves the buffer alone
    EXPECT_EQ(fetchText(logon, "SELECT NULL::numeric", &text, nullptr), 1405);

    EXPECT_EQ(fetchInt(logon, "SELECT 1 FROM V$STATNAME WHERE STATISTIC# < 0", &count, &indicator),
              1403);
    EXPECT_EQ(fetchInt(logon, "SELECT 1 / 0", &count, &indicator), 1476);
    EXPECT_EQ(fetchInt(logon, "SELECT 3000000000", &count, &indicator), 1455);
    EXPECT_EQ(fetchInt(logon, "SELECT 'abc'", &count, &indicator), 1722);

    // Exact fetch of one row over two rows: 1422; without the flag the first row.
    Cursor c(logon);
    int32_t value = 0;
    oparse(&c.cda, "SELECT STATISTIC# FROM V$STATNAME WHERE STATISTIC# < 2", -1, 1, 1);
    odefin(&c.cda, 1, &value, 4, 3, 0, &indicator, nullptr, -1, -1, nullptr, nullptr);
    EXPECT_EQ(oexfet(&c.cda, 1, 0, 1), 1422);
    EXPECT_EQ(c.cda.rc, 1422);
    EXPECT_EQ(oexfet(&c.cda, 1, 0, 0), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(c.cda.rowsProcessed, 1u);
    EXPECT_EQ(logon.errorText(1422), "ORA-01422: exact fetch returns more than requested "
                                     "number of rows");
}

TEST_F(Client, DescribeReportsTypeCodesAndTheEndOfTheSelectList) {
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    Cursor c(logon);
    ASSERT_EQ(c.parseNow("SELECT 1::int, 2::bigint, 1.5::numeric(5,2), 2.5::float8, 'a'::text, "
                         "'b'::varchar(9), 'c'::char(3), now()::date, now()::timestamp, "
                         "'\\x00'::bytea, true FROM DUAL"),
              0);
    const int16_t expected[] = {2, 2, 2, 2, 1, 1, 96, 12, 180, 23, 252};
    for (int i = 0; i < 11; ++i) {
        int16_t type = 0;
        EXPECT_EQ(odescr(&c.cda, i + 1, nullptr, &type, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr),
                  0);
        EXPECT_EQ(type, expected[i]) << "column " << i + 1;
    }
    char name[8];
    int32_t nameLength = sizeof name;
    int32_t size = 0;
    int16_t precision = 0, scale = 0;
    odescr(&c.cda, 3, &size, nullptr, name, &nameLength, nullptr, &precision, &scale, nullptr);
    EXPECT_EQ(std::string(name, static_cast<size_t>(nameLength)), "numeric");
    EXPECT_EQ(precision, 5);
    EXPECT_EQ(scale, 2);
    EXPECT_EQ(odescr(&c.cda, 12, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr),
              1007);
    EXPECT_EQ(c.cda.rc, 1007);
    // One-column check as the custom query test does it.
    ASSERT_EQ(c.parseNow("SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = 2"), 0);
    EXPECT_EQ(odescr(&c.cda, 2, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr),
              1007);
}

TEST_F(Client, ParseErrorOffsetAndFunctionCodes) {
    adminExecute("CREATE TABLE IF NOT EXISTS public.pgoci_rows (a int)");
    adminExecute("TRUNCATE public.pgoci_rows");
    adminExecute("INSERT INTO public.pgoci_rows VALUES (1)");
    Logon logon(s->adminUser, s->adminPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    Cursor c(logon);
    const std::string bad = "SELECT NAME FROM V$STATNAME WHERE STATISTIC# = = 1";
    EXPECT_EQ(c.parseNow(bad), 900);
    EXPECT_EQ(c.cda.parseErrorOffset, bad.rfind("= 1"));
    EXPECT_EQ(c.cda.functionCode, 4);
    EXPECT_NE(logon.errorText(900).find("syntax error"), std::string::npos);

    struct Case {
        const char *sql;
        int code;
    } cases[] = {{"DELETE FROM pgoci_rows", 9},
                 {"UPDATE pgoci_rows SET a = 2", 5},
                 {"INSERT INTO pgoci_rows VALUES (3)", 3},
                 {"SELECT a FROM pgoci_rows", 4}};
    for (const auto &k : cases) {
        EXPECT_EQ(c.parseNow(k.sql), 0) << k.sql << ": " << logon.errorText(c.cda.rc);
        EXPECT_EQ(c.cda.functionCode, k.code) << k.sql;
    }
    // Nothing was executed by the immediate parses.
    std::string rows;
    EXPECT_EQ(fetchText(logon, "SELECT string_agg(a::text, ',') FROM pgoci_rows", &rows, nullptr), 0);
    EXPECT_EQ(rows, "1");
    // A deferred parse reports at the execution.
    EXPECT_EQ(oparse(&c.cda, "SELEC 1", -1, 1, 1), 0);
    EXPECT_EQ(oexfet(&c.cda, 1, 0, 0), 900);
    EXPECT_EQ(c.cda.parseErrorOffset, 0);
    EXPECT_EQ(oparse(&c.cda, "UPDATE pgoci_rows SET a = a + 1", -1, 1, 1), 0);
    EXPECT_EQ(oexfet(&c.cda, 0, 0, 0), 0);
    EXPECT_EQ(c.cda.rowsProcessed, 1u);
}

TEST_F(Client, ArrayFetchOfAllStatisticNamesInNumberOrder) {
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    int32_t n = 0, w = 0;
    ASSERT_EQ(fetchInt(logon, "SELECT COUNT(*) FROM V$STATNAME", &n, nullptr), 0);
    ASSERT_EQ(fetchInt(logon, "SELECT MAX(NVL(LENGTH(NAME) + 1, 1)) FROM V$STATNAME", &w, nullptr), 0);
    ASSERT_GE(n, 40);
    std::vector<char> names(static_cast<size_t>(n) * w, 'x');
    std::vector<int16_t> indicators(n, 5);
    std::vector<uint16_t> lengths(n, 0);
    std::vector<int32_t> numbers(n, -1);
    {
        Cursor c(logon);
        oparse(&c.cda, "SELECT NAME, STATISTIC# FROM V$STATNAME", -1, 1, 1);
        odefin(&c.cda, 1, names.data(), w, 5, 0, indicators.data(), nullptr, -1, -1,
               lengths.data(), nullptr);
        odefin(&c.cda, 2, numbers.data(), 4, 3, 0, nullptr, nullptr, -1, -1, nullptr, nullptr);
        EXPECT_EQ(oexfet(&c.cda, static_cast<unsigned>(n), 0, 0), 0);
        EXPECT_EQ(c.cda.rowsProcessed, static_cast<uint32_t>(n));
    }
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(numbers[i], i);
        EXPECT_EQ(indicators[i], 0);
        EXPECT_EQ(lengths[i], std::strlen(&names[static_cast<size_t>(i) * w]));
    }
    EXPECT_STREQ(&names[0], "logons cumulative");
    EXPECT_STREQ(&names[2 * static_cast<size_t>(w)], "user commits");
    // Each name is matched by its own statistic number.
    std::string name;
    EXPECT_EQ(fetchText(logon, "SELECT NAME FROM V$SYSSTAT WHERE STATISTIC# = 26", &name, nullptr), 0);
    EXPECT_STREQ(&names[26 * static_cast<size_t>(w)], name.c_str());
    EXPECT_EQ(name, "redo size");
}

TEST_F(Client, SessionsProcessesAndPerSessionValues) {
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    int32_t sid = 0, count = 0;
    ASSERT_EQ(fetchInt(logon, "SELECT pg_backend_pid()", &sid, nullptr), 0);
    const std::string filter = "FROM V$SESSION WHERE (paddr in (select addr from v$process))";
    EXPECT_EQ(fetchInt(logon, "SELECT COUNT(*) " + filter + " AND SID = " + std::to_string(sid),
                       &count, nullptr),
              0);
    EXPECT_EQ(count, 1);
    std::string program;
    EXPECT_EQ(fetchText(logon, "SELECT NVL(USERNAME, '[SYS]') || '/' || NVL(PROGRAM, '[NULL]') " +
                                   filter + " AND SID = " + std::to_string(sid),
                        &program, nullptr),
              0);
    EXPECT_EQ(program, s->monitorUser + "/dbgauge");
    int32_t value = -1;
    EXPECT_EQ(fetchInt(logon, "SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = 1 AND SID = " +
                                  std::to_string(sid), &value, nullptr), 0);
    EXPECT_EQ(value, 1); // logons current, for this session
    EXPECT_EQ(fetchInt(logon, "SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = 3 AND SID = " +
                                  std::to_string(sid), &value, nullptr), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(fetchInt(logon, "SELECT COUNT(*) FROM V$SESSTAT WHERE SID = " + std::to_string(sid),
                       &count, nullptr), 0);
    int32_t statistics = 0;
    fetchInt(logon, "SELECT COUNT(*) FROM V$STATNAME", &statistics, nullptr);
    EXPECT_EQ(count, statistics);
    std::string instance;
    EXPECT_EQ(fetchText(logon, "SELECT INSTANCE_NUMBER || '/' || NVL(INSTANCE_NAME, '[NULL]') "
                               "FROM V$INSTANCE", &instance, nullptr), 0);
    EXPECT_EQ(instance, "1/" + s->database);
}

TEST_F(Client, OneStatisticIsReadWithoutComputingTheOthers) {
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    // The plan of a one-statistic query filters the name list down to one row before the
    // value is computed, so the value function runs once.
    Cursor c(logon);
    std::vector<char> lines(40 * 200, '\0');
    oparse(&c.cda, "EXPLAIN (COSTS OFF) SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = 2", -1, 1, 1);
    odefin(&c.cda, 1, lines.data(), 200, 5, 0, nullptr, nullptr, -1, -1, nullptr, nullptr);
    oexfet(&c.cda, 40, 0, 0);
    std::string plan;
    for (uint32_t i = 0; i < c.cda.rowsProcessed; ++i) plan += std::string(&lines[i * 200]) + "\n";
    EXPECT_NE(plan.find("Values Scan"), std::string::npos) << plan;
    EXPECT_NE(plan.find("Filter: (column1 = 2)"), std::string::npos) << plan;
    EXPECT_EQ(plan.find("Append"), std::string::npos) << plan;
    EXPECT_EQ(plan.find("Join"), std::string::npos) << plan;
    EXPECT_EQ(plan.find("Loop"), std::string::npos) << plan;
}

TEST_F(Client, BridgeLeavesLiteralsAlone) {
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    std::string text;
    EXPECT_EQ(fetchText(logon, "SELECT 'STATISTIC# = ' || STATISTIC# || \" SERIAL#\" "
                               "FROM (SELECT STATISTIC#, 'x#' AS \" SERIAL#\" FROM V$STATNAME) v "
                               "WHERE STATISTIC# = 5 /* NVL(STATISTIC#) */",
                        &text, nullptr),
              0) << logon.errorText(900);
    EXPECT_EQ(text, "STATISTIC# = 5x#");
}

TEST_F(Client, UserCommitsGrowByTheCommitsMade) {
    Logon monitor(s->monitorUser, s->monitorPassword, s->connect);
    Logon worker(s->adminUser, s->adminPassword, s->connect);
    ASSERT_EQ(monitor.rc, 0);
    ASSERT_EQ(worker.rc, 0);
    const std::string query = "SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = 2";
    std::string name;
    ASSERT_EQ(fetchText(monitor, "SELECT NAME FROM V$STATNAME WHERE STATISTIC# = 2", &name, nullptr), 0);
    ASSERT_EQ(name, "user commits");
    int32_t before = 0;
    ASSERT_EQ(fetchInt(monitor, query, &before, nullptr), 0);
    constexpr int kCommits = 25;
    int32_t ignored;
    for (int i = 0; i < kCommits; ++i) ASSERT_EQ(fetchInt(worker, "SELECT 1", &ignored, nullptr), 0);
    // A backend sends its counts at most once a second while busy; ask for the next
    // report to be sent at once, then wait for it to arrive.
    fetchText(worker, "SELECT pg_stat_force_next_flush()", &name, nullptr);
    int32_t after = before;
    for (int i = 0; i < 150 && after < before + kCommits; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_EQ(fetchInt(monitor, query, &after, nullptr), 0);
    }
    EXPECT_GE(after - before, kCommits);
}

TEST_F(Client, AStatementThatOutlivesTheTimeOutIsCancelled) {
    setenv("PGOCI_STATEMENT_TIMEOUT", "0.5", 1);
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    unsetenv("PGOCI_STATEMENT_TIMEOUT");
    ASSERT_EQ(logon.rc, 0);
    int32_t value = 0;
    EXPECT_EQ(fetchInt(logon, "SELECT 1 FROM pg_sleep(30)", &value, nullptr), 1013);
    EXPECT_EQ(logon.errorText(1013).rfind("ORA-01013: user requested cancel of current "
                                          "operation: canceling statement due to statement "
                                          "timeout", 0), 0u)
        << logon.errorText(1013);
    // The session goes on working.
    EXPECT_EQ(fetchInt(logon, "SELECT 42", &value, nullptr), 0);
    EXPECT_EQ(value, 42);
}

TEST_F(Client, CursorsOfALoggedOffSessionAreRefusedSafely) {
    auto logon = std::make_unique<Logon>(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon->rc, 0);
    OciDataArea cda{};
    ASSERT_EQ(oopen(&cda, &logon->lda, nullptr, -1, -1, nullptr, -1), 0);
    ASSERT_EQ(oparse(&cda, "SELECT 1", -1, 1, 1), 0);
    EXPECT_EQ(ologof(&logon->lda), 0);
    EXPECT_EQ(ologof(&logon->lda), 1012);
    EXPECT_EQ(oexfet(&cda, 1, 0, 0), 1001);
    EXPECT_EQ(oclose(&cda), 1001);
}
