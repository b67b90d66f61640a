// Browsing through the installed library's C ABI against the throwaway server: the
// objects, their counters and instances, custom counter tests, picks and browse records.
// Each test runs the browse probe in a fresh process with its own copy of the
// installation and a role of its own whose schema shadows the views with tables.
#include "tests/e2e/scenario.h"
#include "tests/pgoci/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

using e2e::Client;
using e2e::LinesStartingWith;
using e2e::Scenario;

const pgoci_test::Server &Db() { return *pgoci_test::server(); }

#define REQUIRE_SERVER()                                                                   \
    if (pgoci_test::server() == nullptr)                                                   \
    GTEST_SKIP() << "DBGAUGE_TEST_PG is not set"

// A login role of the test, member of pg_monitor, with a schema of its own name that is
// first on its search path, so that its tables shadow the views of that name.
struct Role {
    std::string name;
    std::string password = "pw-browse";
    explicit Role(std::string roleName) : name(std::move(roleName)) {
        pgoci_test::adminExecute("DROP SCHEMA IF EXISTS " + name + " CASCADE");
        pgoci_test::adminExecute("DROP ROLE IF EXISTS " + name);
        pgoci_test::adminExecute("CREATE ROLE " + name + " LOGIN PASSWORD '" + password +
                                 "' IN ROLE pg_monitor");
        pgoci_test::adminExecute("CREATE SCHEMA " + name + " AUTHORIZATION " + name);
    }
    // Creates a table in the role's schema, owned by the role, and fills it.
    void Table(const std::string &table, const std::string &columns,
               const std::vector<std::string> &rows = {}) const {
        const std::string qualified = name + ".\"" + table + "\"";
        pgoci_test::adminExecute("CREATE TABLE " + qualified + " (" + columns + ")");
        pgoci_test::adminExecute("ALTER TABLE " + qualified + " OWNER TO " + name);
        for (const auto &row : rows)
            pgoci_test::adminExecute("INSERT INTO " + qualified + " VALUES (" + row + ")");
    }
    std::vector<std::string> Login() const { return {"login", name, password, Db().connect}; }
};

Scenario RealScenario(const std::string &config = "") {
    Scenario scenario;
    scenario.UseClient(Client::Installed);
    scenario.WriteConfig(config);
    return scenario;
}

std::vector<std::string> Steps(std::initializer_list<std::vector<std::string>> groups) {
    std::vector<std::string> steps;
    for (const auto &group : groups)
        steps.insert(steps.end(), group.begin(), group.end());
    return steps;
}

// Catalogue message id with %1.. replaced by args, as the installed catalogue words it.
std::string Message(int id, const std::vector<std::string> &args = {}) {
    std::ifstream in(std::string(E2E_PREFIX) + "/dat/pt_mon_dbgauge_msgs.msg");
    const std::string key = std::to_string(id) + "\t";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) != 0)
            continue;
        std::string text = line.substr(key.size()), out;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
                const size_t arg = static_cast<size_t>(text[++i] - '1');
                out += arg < args.size() ? args[arg] : "";
            } else {
                out += text[i];
            }
        }
        return out;
    }
    return "";
}

std::string LogonString(const std::string &user, const std::string &password,
                        const std::string &server) {
    auto field = [](const std::string &key, const std::string &value) {
        return key + std::to_string(value.size()) + " " + value + " ";
    };
    return field("srvname=", server) + field("usrname=", user) + field("passwd=", password) +
           field("LogonExtra1=", "") + field("LogonExtra2=", "") + field("LogonExtra3=", "");
}

std::vector<std::string> Values(const std::string &out, const std::string &prefix) {
    std::vector<std::string> values;
    for (const auto &line : LinesStartingWith(out, prefix))
        values.push_back(line.substr(line.find(' ', prefix.size()) + 1));
    return values;
}

// The statistic names of V$STATNAME in statistic-number order, as the database has them.
std::vector<std::string> StatisticNames(const Role &role) {
    pgoci_test::Logon logon(role.name, role.password, Db().connect);
    int32_t count = 0;
    int16_t indicator = 0;
    EXPECT_EQ(pgoci_test::fetchInt(logon, "SELECT COUNT(*) FROM V$STATNAME", &count, &indicator), 0);
    std::vector<std::string> names;
    for (int32_t i = 0; i < count; ++i) {
        std::string name;
        pgoci_test::fetchText(logon,
                              "SELECT NAME FROM V$STATNAME WHERE STATISTIC# = " + std::to_string(i),
                              &name, &indicator);
        names.push_back(name);
    }
    return names;
}

TEST(Browse, ObjectsInOrderFoundCaseSensitively) {
    Scenario scenario = RealScenario();
    auto run = scenario.Run("dbgauge_browse_probe",
                            {"init", "objects", "counters", "v$sysstat", "instances", "Custom",
                             "misc", "desc", "no such counter", "terminate"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LinesStartingWith(run.out, "object"),
              (std::vector<std::string>{"objects n=3", "object -1 <null>", "object 0 V$SYSSTAT",
                                        "object 1 V$SESSTAT", "object 2 CUSTOM",
                                        "object 3 <null>"}));
    // Unknown names (a case differs) count nothing and give no entry.
    EXPECT_EQ(LinesStartingWith(run.out, "counter"),
              (std::vector<std::string>{"counters v$sysstat n=0", "counter 0 <null>"}));
    EXPECT_EQ(LinesStartingWith(run.out, "instance"),
              (std::vector<std::string>{"instances Custom n=0", "instance 0 <null>"}));
    EXPECT_EQ(LinesStartingWith(run.out, "rate=")[0], "rate=-1");
    EXPECT_EQ(LinesStartingWith(run.out, "free=")[0], "free=null");
    EXPECT_EQ(LinesStartingWith(run.out, "desc")[0], "desc [" + Message(-95003) + "]");
}

TEST(Browse, WithoutLogonListsAreEmptyAndNothingCrashes) {
    Scenario scenario = RealScenario();
    auto run = scenario.Run("dbgauge_browse_probe",
                            {"init", "counters", "V$SYSSTAT", "instances", "V$SESSTAT",
                             "instances", "V$SYSSTAT", "add", "V$SYSSTAT", "x", "y", "browse",
                             "L", "end", "terminate"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LinesStartingWith(run.out, "counters V$SYSSTAT")[0], "counters V$SYSSTAT n=0");
    EXPECT_EQ(LinesStartingWith(run.out, "instances V$SESSTAT")[0], "instances V$SESSTAT n=0");
    EXPECT_EQ(LinesStartingWith(run.out, "instances V$SYSSTAT")[0], "instances V$SYSSTAT n=0");
    // The pick without a session: its record has an empty connection logon.
    const auto records = LinesStartingWith(run.out, "record 0 ");
    ASSERT_EQ(records.size(), 1u) << run.out;
    EXPECT_NE(records[0].find(" conn=[] "), std::string::npos) << records[0];
}

TEST(Browse, CountersAreTheStatisticNamesLoadedOnceUntilABrowse) {
    REQUIRE_SERVER();
    Role role("browse_counters");
    const std::vector<std::string> names = StatisticNames(role);
    ASSERT_GT(names.size(), 10u);
    Scenario scenario = RealScenario();
    scenario.SetEnv("TAV_PT_TRACE", "1");
    auto run = scenario.Run(
        "dbgauge_browse_probe",
        Steps({{"init"}, role.Login(), {"counters", "V$SYSSTAT", "counters", "V$SYSSTAT"},
               // A failed browse keeps the lists; a successful one drops them.
               {"browse", "L", "login", role.name, "wrong", Db().connect, "end"},
               {"counters", "V$SYSSTAT", "browse", "L"}, role.Login(), {"end"},
               role.Login(), {"counters", "V$SYSSTAT", "counters", "V$SESSTAT", "terminate"}}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto counts = LinesStartingWith(run.out, "counters ");
    ASSERT_EQ(counts.size(), 5u);
    for (const auto &line : counts)
        EXPECT_EQ(line.substr(line.find("n=")), "n=" + std::to_string(names.size()));
    std::vector<std::string> listed = Values(run.out, "counter ");
    // Each listing ends with the entry at n, which does not exist.
    std::vector<std::string> expected;
    for (int copy = 0; copy < 5; ++copy) {
        expected.insert(expected.end(), names.begin(), names.end());
        expected.push_back("<null>");
    }
    EXPECT_EQ(listed, expected);
    // V$SYSSTAT loaded before and after the browse, V$SESSTAT once: three name fetches.
    size_t fetches = 0;
    for (size_t at = 0; (at = run.err.find("fetch query=SELECT NAME FROM V$STATNAME rc=", at)) !=
                        std::string::npos;
         ++at)
        ++fetches;
    EXPECT_EQ(fetches, 3u) << run.err;
}

TEST(Browse, InstancesShowPlaceholdersForNullColumnsAndCutLongTexts) {
    REQUIRE_SERVER();
    Role role("browse_instances");
    role.Table("v$process", "addr text", {"'P1'"});
    role.Table("v$session", "sid int, username text, terminal text, program text, paddr text",
               {"37, NULL, NULL, NULL, 'P1'", "38, 'alice', 'host1', 'psql', 'P1'",
                "39, 'gone', 'x', 'y', 'NO PROCESS'",
                "41, repeat('u', 40), repeat('t', 20), repeat('p', 70), 'P1'"});
    role.Table("v$instance", "instance_number int, instance_name text", {"1, NULL", "2, 'db2'"});
    Scenario scenario = RealScenario();
    auto run = scenario.Run("dbgauge_browse_probe",
                            Steps({{"init"}, role.Login(),
                                   {"instances", "V$SESSTAT", "instances", "V$SYSSTAT",
                                    "instances", "CUSTOM", "terminate"}}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LinesStartingWith(run.out, "instance"),
              (std::vector<std::string>{
                  "instances V$SESSTAT n=3", "instance 0 37/[SYS]/[SYSTEM]/[NULL]",
                  "instance 1 38/alice/host1/psql",
                  "instance 2 41/" + std::string(31, 'u') + "/" + std::string(15, 't') + "/" +
                      std::string(63, 'p'),
                  "instance 3 <null>", "instances V$SYSSTAT n=2", "instance 0 1/[NULL]",
                  "instance 1 2/db2", "instance 2 <null>", "instances CUSTOM n=1",
                  "instance 0 " + Message(-95006), "instance 1 <null>"}));
}

TEST(Browse, StatementsOfTheStatisticsObjects) {
    REQUIRE_SERVER();
    Role role("browse_statements");
    const std::vector<std::string> names = StatisticNames(role);
    ASSERT_GT(names.size(), 2u);
    Scenario scenario = RealScenario();
    struct Case {
        std::string object, counter, instance, statement;
    };
    const std::string n = std::to_string(names.size());
    const std::vector<Case> cases = {
        {"V$SYSSTAT", names[0], "anything", "SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = 0"},
        {"V$SESSTAT", names[2], "37/alice/t/p",
         "SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = 2 AND SID = 37"},
        {"V$SESSTAT", names[1], "no slash", "SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = 1 AND SID = -1"},
        // Only a decimal integer is taken from an instance name: nothing else reaches SQL.
        {"V$SESSTAT", names[1], "1 OR 1=1; DROP TABLE x/u/t/p",
         "SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = 1 AND SID = -1"},
        {"V$SYSSTAT", "no such statistic", "1/db",
         "SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = " + n},
    };
    std::vector<std::string> steps = Steps({{"init"}, role.Login()});
    steps.insert(steps.end(), {"browse", "L"});
    for (const auto &c : cases)
        steps.insert(steps.end(), {"add", c.object, c.counter, c.instance});
    steps.insert(steps.end(), {"end", "terminate"});
    auto run = scenario.Run("dbgauge_browse_probe", steps);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> values;
    for (const auto &line : LinesStartingWith(run.out, "record "))
        values.push_back(line.substr(line.find("value=[") + 7, line.find("] name=") - line.find("value=[") - 7));
    std::vector<std::string> expected;
    for (const auto &c : cases)
        expected.push_back("1" + c.statement);
    std::sort(values.begin(), values.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(values, expected);
}

TEST(Browse, CustomCountersAreTestRunBeforeTheyAreAccepted) {
    REQUIRE_SERVER();
    Role role("browse_custom");
    role.Table("one_row", "n int, t text", {"5, 'five'"});
    role.Table("no_rows", "n int");
    role.Table("two_rows", "n int", {"1", "2"});
    struct Case {
        std::string name, query;
        int rc;
        std::string message; // shown on standard error as "caption: message"
    };
    const std::vector<Case> cases = {
        {"one number", "SELECT n FROM one_row", 0, ""},
        {"two columns", "SELECT n, n FROM one_row", -1, ""},
        {"text column", "SELECT t FROM one_row", -1, ""},
        {"no row", "SELECT n FROM no_rows", -1, ""},
        {"two rows", "SELECT n FROM two_rows", -1, ""},
        {"non-query", "DELETE FROM one_row", -1, ""},
        {"missing table", "SELECT n FROM missing_table", -1, ""},
    };
    std::string config = "[V$ Monitor]\nCustomCounters=" + std::to_string(cases.size()) + "\n";
    for (size_t j = 0; j < cases.size(); ++j)
        config += "[Custom" + std::to_string(j) + "]\nName=" + cases[j].name +
                  "\nQuery=" + cases[j].query + "\n";
    Scenario scenario = RealScenario(config);
    std::vector<std::string> steps = Steps({{"init"}, role.Login(), {"counters", "CUSTOM"}});
    for (const auto &c : cases)
        steps.insert(steps.end(), {"add", "CUSTOM", c.name, "x"});
    steps.insert(steps.end(), {"add", "CUSTOM", "not configured", "x", "terminate"});
    auto run = scenario.Run("dbgauge_browse_probe", steps);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    std::vector<std::string> counters;
    for (const auto &c : cases)
        counters.push_back(c.name);
    counters.push_back("<null>");
    EXPECT_EQ(Values(run.out, "counter "), counters);
    std::vector<std::string> results;
    for (const auto &line : LinesStartingWith(run.out, "add rc="))
        results.push_back(line);
    EXPECT_EQ(results, (std::vector<std::string>{"add rc=0", "add rc=-1", "add rc=-1", "add rc=-1",
                                                 "add rc=-1", "add rc=-1", "add rc=-1",
                                                 "add rc=-1"}));
    // Each refusal is shown once, with the message that says what is wrong.
    const std::string caption = Message(-95002) + ": ";
    const auto shown = LinesStartingWith(run.err, caption);
    ASSERT_EQ(shown.size(), 7u) << run.err;
    EXPECT_EQ(shown[0], caption + Message(-95009, {"two columns", "SELECT n, n FROM one_row"}));
    EXPECT_EQ(shown[1], caption + Message(-95010, {"text column", "SELECT t FROM one_row", "1"}));
    EXPECT_EQ(shown[2], caption + Message(-95011, {"no row", "SELECT n FROM no_rows"}));
    EXPECT_EQ(shown[3], caption + Message(-95012, {"two rows", "SELECT n FROM two_rows"}));
    EXPECT_EQ(shown[4], caption + Message(-95008, {"non-query", "DELETE FROM one_row"}));
    const std::string missing = Message(-95007, {"missing table", "SELECT n FROM missing_table",
                                                 "@OFFSET@", "@TEXT@"});
    const std::string prefix = caption + missing.substr(0, missing.find("@OFFSET@"));
    EXPECT_EQ(shown[5].rfind(prefix, 0), 0u) << shown[5];
    EXPECT_NE(shown[5].find("ORA-00942"), std::string::npos) << shown[5];
    EXPECT_NE(shown[5].find("relation \"missing_table\" does not exist"), std::string::npos)
        << shown[5];
    EXPECT_NE(shown[6].find("\"not configured\" is not configured"), std::string::npos) << shown[6];
}

TEST(Browse, RecordsCarryEveryFieldInKeyOrder) {
    REQUIRE_SERVER();
    Role role("browse_records");
    role.Table("one_row", "n int", {"5"});
    const std::vector<std::string> names = StatisticNames(role);
    const std::string rateCounter = names[2];
    const std::string plainCounter = names[1];
    Scenario scenario = RealScenario(
        "[V$ Monitor]\nCounters=1\nCustomCounters=1\n[0]\nName=" + rateCounter +
        "\nDescription=Commits per second.\nIsRate=1\n[Custom0]\nName=five\nQuery=SELECT n FROM "
        "one_row\n");
    const std::string longName(256, 'n'), longestName(255, 'n');
    auto run = scenario.Run(
        "dbgauge_browse_probe",
        Steps({{"init", "browse", "LOGON-1"}, role.Login(),
               {"add", "V$SYSSTAT", rateCounter, "1/db", "add", "CUSTOM", "five", "one",
                "add", "V$SESSTAT", plainCounter, "37/a/b/c", "add", "V$SYSSTAT", rateCounter,
                "1/db", "add", "V$SYSSTAT", longName, "1/db", "add", "V$SYSSTAT", "c", longName,
                "add", "V$SESSTAT", longestName, "5/a/b/c", "end", "terminate"}}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LinesStartingWith(run.out, "add rc="),
              (std::vector<std::string>{"add rc=0", "add rc=0", "add rc=0", "add rc=0",
                                        "add rc=-1", "add rc=-1", "add rc=0"}));
    EXPECT_EQ(LinesStartingWith(run.out, "browse")[0],
              "browse rc=0 count=4 records=set guard=ok message=[]");
    const std::string conn = LogonString(role.name, role.password, Db().connect);
    const std::string n = std::to_string(names.size());
    auto record = [&](int i, const std::string &value, const std::string &name,
                      const std::string &desc, int rate) {
        return "record " + std::to_string(i) + " value=[" + value + "] name=[" + name +
               "] desc=[" + desc + "] logon=[LOGON-1] three=3 conn=[" + conn +
               "] rate=" + std::to_string(rate);
    };
    const std::string defaultDesc = Message(-95003);
    // Keys order by the object name's length first: CUSTOM, V$SESSTAT, V$SYSSTAT; within
    // V$SESSTAT the 255-byte counter name sorts after the shorter one.
    EXPECT_EQ(LinesStartingWith(run.out, "record "),
              (std::vector<std::string>{
                  record(0, "1SELECT n FROM one_row", Message(-95005, {"five (CUSTOM one)"}),
                         defaultDesc, 0),
                  record(1, "1SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = 1 AND SID = 37",
                         Message(-95005, {plainCounter + " (V$SESSTAT 37/a/b/c)"}), defaultDesc, 0),
                  record(2, "1SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = " + n + " AND SID = 5",
                         Message(-95005, {longestName + " (V$SESSTAT 5/a/b/c)"}), defaultDesc, 0),
                  record(3, "2SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = 2",
                         Message(-95004, {rateCounter + " (V$SYSSTAT 1/db)"}), "Commits per second.",
                         1)}));
}

TEST(Browse, FailedLogonInsideTheCallbackKeepsThePicks) {
    REQUIRE_SERVER();
    Role role("browse_failed_logon");
    Scenario scenario = RealScenario();
    auto run = scenario.Run(
        "dbgauge_browse_probe",
        Steps({{"init", "browse", "L1"}, role.Login(),
               {"add", "V$SYSSTAT", "x", "1/db", "login", role.name, "wrong", Db().connect, "end"},
               {"browse", "L2"}, role.Login(), {"end", "browse", "L3", "end", "terminate"}}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto browses = LinesStartingWith(run.out, "browse");
    ASSERT_EQ(browses.size(), 3u) << run.out;
    EXPECT_EQ(browses[0].rfind("browse rc=-1 count=0 records=null guard=ok message=[", 0), 0u)
        << browses[0];
    EXPECT_NE(browses[0].find("ORA-01017"), std::string::npos) << browses[0];
    EXPECT_EQ(browses[1], "browse rc=0 count=1 records=set guard=ok message=[]");
    const auto records = LinesStartingWith(run.out, "record 0 ");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_NE(records[0].find("] logon=[L2] "), std::string::npos) << records[0];
    // The successful browse emptied the picks.
    EXPECT_EQ(browses[2], "browse rc=0 count=0 records=null guard=ok message=[]");
}

} // namespace
