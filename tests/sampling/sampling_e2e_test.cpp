// Activation and sampling through the C ABI: the sampling probe loads the installed
// library in a fresh process and drives it against the throwaway server with the real
// database client.
#include "tests/e2e/scenario.h"
#include "tests/pgoci/test_support.h"
#include "tools/watch/activation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using e2e::LinesStartingWith;

constexpr const char *kCommitRate = "2SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = 0";

class SamplingE2E : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = pgoci_test::server();
        if (server_ == nullptr)
            GTEST_SKIP() << "DBGAUGE_TEST_PG is not set";
        // The scenario's copy gets the real database client instead of the fake one.
        scenario_.UseClient(e2e::Client::None);
        fs::copy_file(fs::path(E2E_PREFIX) / "lib/liboci.so", scenario_.prefix() / "lib/liboci.so");
        scenario_.WriteConfig("[V$ Monitor]\nSamplingRate=1\n");
    }
    std::string Logon(const std::string &user, const std::string &password) const {
        return watch::LogonString(server_->connect, user, password);
    }
    std::string MonitorLogon() const { return Logon(server_->monitorUser, server_->monitorPassword); }
    e2e::RunResult Probe(std::vector<std::string> steps) const {
        steps.insert(steps.begin(), "init");
        steps.push_back("terminate");
        return scenario_.Run("dbgauge_sampling_probe", steps);
    }

    const pgoci_test::Server *server_ = nullptr;
    e2e::Scenario scenario_;
};

std::string Only(const std::string &out, const std::string &prefix) {
    auto lines = LinesStartingWith(out, prefix);
    EXPECT_EQ(lines.size(), 1u) << prefix << " in:\n" << out;
    return lines.empty() ? "" : lines.front();
}

TEST_F(SamplingE2E, PasswordWithSpacesAndEqualsRoundTripsToALogon) {
    pgoci_test::adminExecute("DROP ROLE IF EXISTS sampling_spaced");
    pgoci_test::adminExecute(
        "CREATE ROLE sampling_spaced LOGIN PASSWORD 'a b=c  d=' IN ROLE pg_monitor");
    auto result = Probe({"activate", "one", "1SELECT 1", Logon("sampling_spaced", "a b=c  d="),
                         "await", "one", "1"});
    EXPECT_EQ(Only(result.out, "activate one"), "activate one rc=0 text=[]") << result.err;
    EXPECT_EQ(Only(result.out, "sample one"), "sample one kind=0 value=1.000000 rate=0.000000 error=[]");
}

TEST_F(SamplingE2E, FailedLogonsAreRefusedWithoutAnEntry) {
    // The role's own schema shadows V$PROCESS with a table it may not read.
    pgoci_test::adminExecute("DROP SCHEMA IF EXISTS sampling_noprocess CASCADE");
    pgoci_test::adminExecute("DROP ROLE IF EXISTS sampling_noprocess");
    pgoci_test::adminExecute("CREATE ROLE sampling_noprocess LOGIN PASSWORD 'np' IN ROLE pg_monitor");
    pgoci_test::adminExecute("CREATE SCHEMA sampling_noprocess");
    pgoci_test::adminExecute("GRANT USAGE ON SCHEMA sampling_noprocess TO sampling_noprocess");
    pgoci_test::adminExecute("CREATE TABLE sampling_noprocess.\"v$process\" (x int)");
    auto result = Probe({"activate", "wrong", "1SELECT 1", Logon(server_->monitorUser, "not-it"),
                         "deactivate", "wrong", "1SELECT 1",
                         "activate", "noproc", "1SELECT 1", Logon("sampling_noprocess", "np")});
    const std::string wrong = Only(result.out, "activate wrong");
    EXPECT_NE(wrong.find("rc=-1"), std::string::npos) << wrong;
    EXPECT_NE(wrong.find("activated because the logon to the database failed: The logon to the "
                         "database failed: ORA-01017"),
              std::string::npos)
        << wrong;
    EXPECT_NE(Only(result.out, "deactivate wrong").find("rc=-1 text=[The measurement cannot be "
                                                        "deactivated because it was never"),
              std::string::npos);
    const std::string noProcess = Only(result.out, "activate noproc");
    EXPECT_NE(noProcess.find("rc=-1"), std::string::npos) << noProcess;
    EXPECT_NE(noProcess.find("cannot read the performance views it needs:  V$PROCESS."),
              std::string::npos)
        << noProcess;
}

TEST_F(SamplingE2E, MalformedLogonStringsAreRefused) {
    const std::string whole = MonitorLogon();
    const std::vector<std::string> malformed = {
        "",                                           // no field at all
        "srvname=3 abc usrname=4 perf",               // the password field is missing
        "srvname=x abc usrname=4 perf passwd=0  ",    // a length that is not a number
        "srvname=3 abc usrname=4 perf passwd=900 pw", // declares more than it holds
        whole.substr(0, whole.find("passwd=") + 9),   // cut inside the password
    };
    std::vector<std::string> steps;
    for (size_t i = 0; i < malformed.size(); ++i)
        steps.insert(steps.end(), {"activate", "m" + std::to_string(i), "1SELECT 1", malformed[i]});
    auto result = Probe(steps);
    for (size_t i = 0; i < malformed.size(); ++i) {
        const std::string line = Only(result.out, "activate m" + std::to_string(i) + " ");
        EXPECT_NE(line.find("rc=-1 text=[The measurement could not be activated because the logon "
                            "to the database failed: the logon string is not well formed"),
                  std::string::npos)
            << malformed[i] << " -> " << line;
    }
}

TEST_F(SamplingE2E, ValueOnTheFirstCycleRateFromTheSecond) {
    auto result = Probe({"activate", "rate", kCommitRate, MonitorLogon(), "activate", "value",
                         "1SELECT 42", MonitorLogon(), "await", "value", "3", "deactivate", "value",
                         "1SELECT 42", "deactivate", "rate", kCommitRate});
    const auto values = LinesStartingWith(result.out, "sample value ");
    const auto rates = LinesStartingWith(result.out, "sample rate ");
    ASSERT_GE(values.size(), 3u) << result.out;
    EXPECT_EQ(values.front(), "sample value kind=0 value=42.000000 rate=0.000000 error=[]");
    // Both are sampled in the same cycles; the rate has no report on its first cycle.
    EXPECT_EQ(rates.size() + 1, values.size()) << result.out;
    for (const auto &rate : rates)
        EXPECT_NE(rate.find("kind=1"), std::string::npos) << rate;
}

TEST_F(SamplingE2E, FailedSamplesCarryTheirTexts) {
    struct Case {
        const char *name, *valueString, *expected;
    } cases[] = {
        {"norow", "1SELECT 1 WHERE false", "kind=0 value=2.200000 rate=0.000000 error=[ORA-01403"},
        {"null", "1SELECT NULL::int", "error=[The query returned NULL"},
        {"negative", "1SELECT -5", "kind=0 value=-5.000000 rate=0.000000 error=[The sampled value is negative"},
        {"empty", "", "error=[The measurement has no statement to sample"},
        {"missing", "1SELECT x FROM no_such_table", "value=2.200000 rate=0.000000 error=[ORA-00942"},
    };
    std::vector<std::string> steps;
    for (const auto &c : cases)
        steps.insert(steps.end(), {"activate", c.name, c.valueString, MonitorLogon()});
    for (const auto &c : cases)
        steps.insert(steps.end(), {"await", c.name, "1"});
    auto result = Probe(steps);
    for (const auto &c : cases) {
        const auto samples = LinesStartingWith(result.out, std::string("sample ") + c.name + " ");
        ASSERT_FALSE(samples.empty()) << c.name << "\n" << result.out;
        EXPECT_NE(samples.front().find(c.expected), std::string::npos) << samples.front();
    }
}

TEST_F(SamplingE2E, IdentityIsValueStringAndName) {
    auto result = Probe({"activate", "twice", "1SELECT 7", MonitorLogon(),   // same pair twice:
                         "activate", "twice", "1SELECT 7", MonitorLogon(),   // one entry
                         "activate", "other", "1SELECT 7", MonitorLogon(),   // a second name
                         "await", "twice", "2", "await", "other", "2",
                         "deactivate", "twice", "1SELECT 7", "deactivate", "other", "1SELECT 7"});
    EXPECT_EQ(LinesStartingWith(result.out, "activate").size(), 3u);
    const auto twice = LinesStartingWith(result.out, "sample twice ").size();
    const auto other = LinesStartingWith(result.out, "sample other ").size();
    // One entry per pair: both are sampled once per cycle.
    EXPECT_LE(twice > other ? twice - other : other - twice, 1u) << result.out;
}

TEST_F(SamplingE2E, DeactivationStopsSamplingAndPullsOfInactiveReportNothing) {
    auto result = Probe({"deactivate", "never", "1SELECT 1",
                         "activate", "m", "1SELECT 3", MonitorLogon(), "await", "m", "1",
                         "deactivate", "m", "1SELECT 3", "deactivate", "m", "1SELECT 3",
                         "pull", "m", "1SELECT 3", "pull", "never", "1SELECT 1",
                         "activate", "m", "1SELECT 3", MonitorLogon(), "pull", "m", "1SELECT 3"});
    EXPECT_NE(Only(result.out, "deactivate never").find("rc=-1 text=[The measurement cannot be"),
              std::string::npos);
    EXPECT_EQ(LinesStartingWith(result.out, "deactivate m rc=0 text=[]").size(), 2u) << result.out;
    const auto pulls = LinesStartingWith(result.out, "pull m ");
    ASSERT_EQ(pulls.size(), 2u) << result.out;
    EXPECT_EQ(pulls[0].substr(0, 27), "pull m rc=1 untouched=yes k");
    EXPECT_EQ(pulls[1], "pull m rc=0 untouched=no kind=0 value=3.000000");
    EXPECT_NE(Only(result.out, "pull never").find("rc=-1 untouched=yes"), std::string::npos);
}

TEST_F(SamplingE2E, TerminateEndsAWaitAtOnceAndForgetsTheMeasurements) {
    scenario_.WriteConfig("[V$ Monitor]\nSamplingRate=600\n");
    // The thread's first cycle ran when it started; it then waits ten minutes.
    auto result = scenario_.Run("dbgauge_sampling_probe",
                                {"init", "activate", "m", "1SELECT 5", MonitorLogon(), "sleep",
                                 "300", "terminate", "init", "pull", "m", "1SELECT 5", "activate",
                                 "n", "1SELECT 6", MonitorLogon(), "pull", "n", "1SELECT 6",
                                 "terminate"});
    const auto terminates = LinesStartingWith(result.out, "terminate rc=0");
    ASSERT_EQ(terminates.size(), 2u) << result.out << result.err;
    std::smatch ms;
    ASSERT_TRUE(std::regex_search(terminates[0], ms, std::regex("ms=([0-9]+)")));
    EXPECT_LT(std::stol(ms[1]), 10000) << "the sampling thread waited out its interval";
    // After a new InitMonitor the old measurement is unknown; a new one is sampled on a
    // new connection.
    EXPECT_NE(Only(result.out, "pull m").find("rc=-1"), std::string::npos);
    EXPECT_EQ(Only(result.out, "pull n"), "pull n rc=0 untouched=no kind=0 value=6.000000");
    EXPECT_EQ(Only(result.out, "sample n"), "sample n kind=0 value=6.000000 rate=0.000000 error=[]");
}

} // namespace
