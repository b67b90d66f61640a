// Parts of the client that need no server: the bridge, statement classification, the
// error table and texts, and the data-area checks.
#include <cstring>

#include <gtest/gtest.h>

#include "bridge.h"
#include "connect_options.h"
#include "errors.h"
#include "function_code.h"
#include "oci7.h"

using namespace pgoci;

TEST(OfflineBridge, RewritesOnlyCodeTokens) {
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = 3",
         "SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC_no = 3"},
        {"SELECT SID, SERIAL# FROM V$SESSION", "SELECT SID, SERIAL_no FROM V$SESSION"},
        {"SELECT 'STATISTIC#' FROM DUAL", "SELECT 'STATISTIC#' FROM DUAL"},
        {"SELECT 'it''s # here', \"A#B\" FROM t", "SELECT 'it''s # here', \"A#B\" FROM t"},
        {"SELECT E'\\' NVL(x#', x# FROM t", "SELECT E'\\' NVL(x#', x_no FROM t"},
        {"SELECT 1 -- STATISTIC# NVL(a)\n, nvl (a, 0)", "SELECT 1 -- STATISTIC# NVL(a)\n, COALESCE (a, 0)"},
        {"SELECT /* a /* nested # */ NVL( */ 1", "SELECT /* a /* nested # */ NVL( */ 1"},
        {"SELECT $q$ NVL(a#) $q$, $1", "SELECT $q$ NVL(a#) $q$, $1"},
        {"SELECT dbgauge.nvl(a, 1), nvl_total FROM t", "SELECT dbgauge.nvl(a, 1), nvl_total FROM t"},
        {"SELECT 5 # 3", "SELECT 5 # 3"},
        {"SELECT MAX(NVL(LENGTH(NAME) + 1, 1)) FROM V$STATNAME",
         "SELECT MAX(COALESCE(LENGTH(NAME) + 1, 1)) FROM V$STATNAME"},
    };
    for (const auto &c : cases) EXPECT_EQ(bridgeStatement(c.in).text, c.out) << c.in;
}

TEST(OfflineBridge, MapsServerPositionsBackToTheCallersText) {
    // "FORM" starts at offset 38 of the original and at character 41 (1-based) of the
    // bridged text, which is longer by the two "_no" rewrites.
    std::string original = "SELECT STATISTIC#, SERIAL#, NVL(a, 1) FORM t";
    BridgedStatement b = bridgeStatement(original);
    size_t bridgedForm = b.text.find("FORM");
    ASSERT_NE(bridgedForm, std::string::npos);
    EXPECT_EQ(b.originalOffset(static_cast<int>(bridgedForm) + 1), original.find("FORM"));
    EXPECT_EQ(b.originalOffset(0), 0u);
    EXPECT_EQ(b.originalOffset(100000), original.size());
}

TEST(OfflineStatementKind, FunctionCodes) {
    struct Case {
        const char *sql;
        int code;
        bool explainable;
    } cases[] = {
        {"SELECT 1", 4, true},
        {"  /* c */ (SELECT 1)", 4, true},
        {"with x as (select 1) select * from x", 4, true},
        {"INSERT INTO t VALUES (1)", 3, true},
        {"update t set a = 1", 5, true},
        {"-- note\nDELETE FROM t", 9, true},
        {"CREATE TABLE t (a int)", 1, false},
        {"CREATE OR REPLACE VIEW v AS SELECT 1", 10, false},
        {"create unique index i on t (a)", 20, false},
        {"DROP TABLE t", 8, false},
        {"ALTER SESSION SET x = 1", 52, false},
        {"COMMIT", 54, false},
        {"SHOW search_path", 4, false},
        {"VACUUM t", 0, false},
    };
    for (const auto &c : cases) {
        StatementKind k = classifyStatement(c.sql);
        EXPECT_EQ(k.functionCode, c.code) << c.sql;
        EXPECT_EQ(k.explainable, c.explainable) << c.sql;
    }
}

TEST(OfflineErrors, SqlStateTable) {
    struct Case {
        const char *state;
        int error;
    } cases[] = {
        {"28P01", 1017}, {"42P01", 942},  {"42501", 1031}, {"42601", 900},
        {"42703", 904},  {"22012", 1476}, {"57014", 1013}, {"08006", 3113},
        {"57P01", 3113}, {"3D000", 12514}, {"42999", 900},  {"XX000", 20000},
    };
    for (const auto &c : cases) EXPECT_EQ(errorForSqlState(c.state), c.error) << c.state;
}

TEST(OfflineErrors, ConnectFailures) {
    struct Case {
        const char *message;
        int error;
    } cases[] = {
        {"connection to server at \"127.0.0.1\", port 1 failed: Connection refused", 12541},
        {"could not translate host name \"nosuch.invalid\" to address", 12154},
        {"FATAL:  password authentication failed for user \"x\"", 1017},
        {"FATAL:  database \"nosuch\" does not exist", 12514},
        {"fe_sendauth: no password supplied", 1005},
        {"timeout expired", 12170},
        {"something new", 12560},
    };
    for (const auto &c : cases) EXPECT_EQ(errorForConnectFailure(c.message), c.error) << c.message;
}

TEST(OfflineErrors, TextsAndScrubbing) {
    EXPECT_EQ(errorText(942, "relation \"x\" does not exist"),
              "ORA-00942: table or view does not exist: relation \"x\" does not exist");
    EXPECT_EQ(errorText(1403), "ORA-01403: no data found");
    EXPECT_EQ(errorText(4711), "ORA-04711: message 4711 not found");
    std::string scrubbed = scrubSecrets(
        "bad 'host=h password=s3cret!x' and postgresql://u:pw9@h/db and s3cret!x again",
        {"s3cret!x"});
    EXPECT_EQ(scrubbed.find("s3cret"), std::string::npos) << scrubbed;
    EXPECT_EQ(scrubbed.find("pw9"), std::string::npos) << scrubbed;
    EXPECT_NE(scrubbed.find("postgresql://u:********@h/db"), std::string::npos) << scrubbed;
}

TEST(OfflineConnectString, Forms) {
    auto valueOf = [](const ConnectOptions &o, const std::string &key) {
        std::string v;
        for (size_t i = 0; i < o.keywords.size(); ++i)
            if (o.keywords[i] == key) v = o.values[i];
        return v;
    };
    ConnectOptions shortForm = buildConnectOptions("u", "p", "db1.example:6543/sales");
    EXPECT_EQ(valueOf(shortForm, "host"), "db1.example");
    EXPECT_EQ(valueOf(shortForm, "port"), "6543");
    EXPECT_EQ(valueOf(shortForm, "dbname"), "sales");
    EXPECT_EQ(valueOf(shortForm, "application_name"), "dbgauge");
    ConnectOptions v6 = buildConnectOptions("", "", "[::1]:5433");
    EXPECT_EQ(valueOf(v6, "host"), "::1");
    EXPECT_EQ(valueOf(v6, "port"), "5433");
    ConnectOptions libpq = buildConnectOptions("", "", "host=h password=zzz9 connect_timeout=3");
    EXPECT_EQ(valueOf(libpq, "dbname"), "host=h password=zzz9 connect_timeout=3");
    EXPECT_EQ(libpq.secrets, std::vector<std::string>{"zzz9"});
    EXPECT_TRUE(buildConnectOptions("", "", "").error.empty());
    EXPECT_FALSE(buildConnectOptions("", "", "host:port").error.empty());
    EXPECT_FALSE(buildConnectOptions("", "", "host='unterminated").error.empty());
}

TEST(OfflineAreas, ClosedAndNeverOpenedAreasAreRefused) {
    OciDataArea garbage;
    std::memset(&garbage, 0xA5, sizeof garbage);
    OciDataArea zero{};
    for (OciDataArea *area : {&garbage, &zero}) {
        EXPECT_EQ(oparse(area, "SELECT 1", -1, 0, 1), 1001);
        EXPECT_EQ(area->rc, 1001);
        EXPECT_EQ(oexfet(area, 1, 0, 0), 1001);
        EXPECT_EQ(oclose(area), 1001);
        EXPECT_EQ(ologof(area), 1012);
        OciDataArea cursor{};
        EXPECT_EQ(oopen(&cursor, area, nullptr, -1, -1, nullptr, -1), 1012);
    }
    EXPECT_EQ(oparse(nullptr, "SELECT 1", -1, 0, 1), 1009);
    char text[64];
    EXPECT_GT(oerhms(&zero, 1403, text, sizeof text), 0);
    EXPECT_STREQ(text, "ORA-01403: no data found");
    EXPECT_EQ(oerhms(&zero, 942, text, 10), 9);
    EXPECT_STREQ(text, "ORA-00942");
}

TEST(OfflineLogon, UnreachableServerFailsWithinTheConnectTimeOut) {
    OciDataArea lda{};
    unsigned char hda[OCI_HOST_AREA_SIZE]{};
    // Port 1 on loopback refuses at once.
    EXPECT_EQ(olog(&lda, hda, "u", -1, "secretpw", -1, "127.0.0.1:1/db", -1, 0), 12541);
    char text[1024];
    oerhms(&lda, lda.rc, text, sizeof text);
    EXPECT_EQ(std::string(text).rfind("ORA-12541: no listener: ", 0), 0u) << text;
    EXPECT_EQ(std::string(text).find("secretpw"), std::string::npos);
    ologof(&lda);
    // A connect string that cannot be read names no password either.
    EXPECT_EQ(olog(&lda, hda, "u", -1, "", -1, "host=x password=topsecret9 bogus", -1, 0), 12154);
    oerhms(&lda, lda.rc, text, sizeof text);
    EXPECT_EQ(std::string(text).find("topsecret9"), std::string::npos) << text;
    ologof(&lda);
}
