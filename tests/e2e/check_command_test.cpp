// dbgauge check, the reference host's first verb, on a good and on a broken installation.
#include "tests/e2e/scenario.h"

#include <gtest/gtest.h>

namespace {

TEST(CheckCommand, GoodInstallationReportsWhatItFound) {
    e2e::Scenario scenario;
    auto run = scenario.Run("dbgauge", {"check"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    const std::string lib = (scenario.prefix() / "lib").string();
    EXPECT_NE(run.out.find("Client library:    " + lib + "/liboci.so"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Sampling rate:     5 seconds"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Configuration:     " + (scenario.prefix() / "dat/monitors/dbgauge.cfg").string() + "\n"),
              std::string::npos) << run.out;
}

TEST(CheckCommand, BrokenInstallationFailsWithTheTextAndAHint) {
    e2e::Scenario scenario;
    scenario.RemoveCatalogue();
    auto run = scenario.Run("dbgauge", {"check"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Error can not open resource file " +
                           (scenario.prefix() / "dat/pt_mon_dbgauge_msgs").string() + ".e2."),
              std::string::npos) << run.out;
    EXPECT_NE(run.out.find("the message catalogue is missing: install " +
                           (scenario.prefix() / "dat/pt_mon_dbgauge_msgs.msg").string()),
              std::string::npos) << run.out;
}

} // namespace
