// InitMonitor and TerminateMonitor through the installed library's C ABI, each scenario
// in a fresh process with its own copy of the installation.
#include "tests/e2e/scenario.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>

namespace {

using e2e::Client;
using e2e::LinesStartingWith;
using e2e::Scenario;

const char *kPipeName = "{7077FF80-EDDF-11d3-92D0-0050049D1BF1}";

std::string CatalogueText(int id) {
    std::ifstream in(std::string(E2E_PREFIX) + "/dat/pt_mon_dbgauge_msgs.msg");
    std::string line;
    const std::string key = std::to_string(id) + "\t";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0)
            continue;
        // The catalogue writes a backslash as "\\".
        std::string text = line.substr(key.size());
        for (size_t at = 0; (at = text.find("\\\\", at)) != std::string::npos; ++at)
            text.erase(at, 1);
        return text;
    }
    return "";
}

TEST(Lifecycle, SuccessfulInitLeavesEmptyTextAndCallsOpinitOnce) {
    Scenario scenario;
    auto run = scenario.Probe({"init", "client", "terminate"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LinesStartingWith(run.out, "init"),
              std::vector<std::string>{"init rc=0 flag=1 guard=ok terminated=yes text=[]"});
    EXPECT_EQ(LinesStartingWith(run.out, "client")[0],
              "client=" + (scenario.prefix() / "lib/liboci.so").string());
    EXPECT_EQ(LinesStartingWith(run.out, "terminate")[0], "terminate rc=0");
    EXPECT_EQ(scenario.ClientLog(), std::vector<std::string>{"full opinit 1"});
    EXPECT_EQ(run.err, "") << "trace off and no pipe listener: nothing is reported";
}

TEST(Lifecycle, OpinitRunsOncePerProcessAcrossReinitialisation) {
    Scenario scenario;
    // The second InitMonitor without TerminateMonitor releases the first state itself.
    auto run = scenario.Probe({"init", "terminate", "init", "init", "terminate"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const auto &line : LinesStartingWith(run.out, "init"))
        EXPECT_EQ(line, "init rc=0 flag=1 guard=ok terminated=yes text=[]");
    EXPECT_EQ(LinesStartingWith(run.out, "init").size(), 3u);
    EXPECT_EQ(LinesStartingWith(run.out, "terminate"),
              (std::vector<std::string>{"terminate rc=0", "terminate rc=0"}));
    EXPECT_EQ(scenario.ClientLog(), std::vector<std::string>{"full opinit 1"});
}

TEST(Lifecycle, ClientLibraryChoice) {
    struct Case {
        Client client;
        const char *bound;
        const char *logLine;
    };
    for (const Case &c : {Case{Client::Ociw32Only, "lib/libociw32.so", "w32 opinit 1"},
                          Case{Client::Both, "lib/liboci.so", "full opinit 1"}}) {
        Scenario scenario;
        scenario.UseClient(c.client);
        auto run = scenario.Probe({"init", "client", "terminate"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(LinesStartingWith(run.out, "init")[0],
                  "init rc=0 flag=1 guard=ok terminated=yes text=[]");
        EXPECT_EQ(LinesStartingWith(run.out, "client")[0],
                  "client=" + (scenario.prefix() / c.bound).string());
        EXPECT_EQ(scenario.ClientLog(), std::vector<std::string>{c.logLine});
    }
}

TEST(Lifecycle, FailuresReportTheirTextAndTerminateStillWorks) {
    struct Case {
        const char *name;
        void (*breakIt)(Scenario &);
        std::string expectedStart; // "" when the text is only checked for its argument
        std::string expectedPart;
        bool clientMapped;
    };
    const std::string noClient = CatalogueText(-95022);
    const Case cases[] = {
        {"catalogue missing", [](Scenario &s) { s.RemoveCatalogue(); }, "", "", false},
        {"no client library", [](Scenario &s) { s.UseClient(Client::None); },
         noClient.substr(0, noClient.find("%1")), "libociw32.so: cannot open shared object file",
         false},
        {"entry point missing", [](Scenario &s) { s.UseClient(Client::MissingEntry); },
         noClient.substr(0, noClient.find("%1")), "no entry point \"odescr\"", false},
        {"registry key missing", [](Scenario &s) { s.RemoveRegistryKey(); },
         CatalogueText(-95021), "", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Scenario scenario;
        c.breakIt(scenario);
        auto run = scenario.Probe({"init", "client", "terminate"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string init = LinesStartingWith(run.out, "init")[0];
        const std::string head = "init rc=-1 flag=1 guard=ok terminated=yes text=[";
        ASSERT_EQ(init.rfind(head, 0), 0u) << init;
        const std::string text = init.substr(head.size(), init.size() - head.size() - 1);
        if (std::string(c.name) == "catalogue missing") {
            const std::string expected =
                "Error can not open resource file " +
                (scenario.prefix() / "dat/pt_mon_dbgauge_msgs").string() + ".e2.";
            EXPECT_EQ(text, expected);
        } else {
            EXPECT_EQ(text.rfind(c.expectedStart, 0), 0u) << text;
            EXPECT_NE(text.find(c.expectedPart), std::string::npos) << text;
        }
        EXPECT_EQ(LinesStartingWith(run.out, "client")[0].empty(), false);
        const bool mapped = LinesStartingWith(run.out, "client")[0] != "client=";
        EXPECT_EQ(mapped, c.clientMapped) << "client library loaded after the failure";
        EXPECT_EQ(LinesStartingWith(run.out, "terminate")[0], "terminate rc=0");
        EXPECT_TRUE(scenario.ClientLog().empty()) << "opinit must not run after a failure";
    }
}

TEST(Lifecycle, ShortErrorBufferCutsAndTerminates) {
    Scenario scenario;
    scenario.RemoveCatalogue();
    const std::string full = "Error can not open resource file " +
                             (scenario.prefix() / "dat/pt_mon_dbgauge_msgs").string() + ".e2.";
    for (unsigned size : {1u, 2u, 20u}) {
        auto run = scenario.Probe({"init", std::to_string(size), "terminate"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(LinesStartingWith(run.out, "init")[0],
                  "init rc=-1 flag=1 guard=ok terminated=yes text=[" + full.substr(0, size - 1) + "]");
    }
}

TEST(Lifecycle, TraceFollowsTheEnvironmentVariable) {
    for (const char *value : std::initializer_list<const char *>{"", "0", nullptr}) {
        SCOPED_TRACE(value ? std::string("TAV_PT_TRACE=") + value : "TAV_PT_TRACE unset");
        Scenario scenario;
        scenario.RemoveRegistryKey();
        if (value)
            scenario.SetEnv("TAV_PT_TRACE", value);
        auto run = scenario.Probe({"init", "terminate"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        if (value) {
            EXPECT_EQ(run.err, "\n->Enter(Load Oracle DLL)\n" + CatalogueText(-95021));
        } else {
            EXPECT_EQ(run.err, "");
        }
    }
}

TEST(Lifecycle, ConfigurationProblemsNeverFailInit) {
    const std::optional<std::string> configs[] = {
        std::nullopt, // no file at all
        "[V$ Monitor]\nSamplingRate=abc\nCounters=3\n[0]\nName=x\n",
        "garbage without sections\n=\n[unterminated\nCounters=-4\n",
        "[V$ Monitor]\nCounters=1\n[0]\nIsRate=yes\nDescription=\nName=" +
            std::string(5000, 'n') + "\n",
    };
    for (const auto &config : configs) {
        Scenario scenario;
        if (config)
            scenario.WriteConfig(*config);
        else
            scenario.RemoveConfig();
        auto run = scenario.Probe({"init", "terminate"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(LinesStartingWith(run.out, "init")[0],
                  "init rc=0 flag=1 guard=ok terminated=yes text=[]");
    }
}

TEST(Lifecycle, TerminateWithoutInitReportsTheCatalogueWasNotPrepared) {
    Scenario scenario;
    auto run = scenario.Probe({"terminate"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LinesStartingWith(run.out, "terminate")[0], "terminate rc=-1");
}

TEST(LoadNotice, ListenerReceivesTheDescriptorAndOtherFilesAreLeftAlone) {
    Scenario scenario;
    const auto dir = scenario.prefix().parent_path();
    const std::string fifo = (dir / kPipeName).string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    auto run = scenario.Probe({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    unsigned char bytes[8] = {};
    ASSERT_EQ(read(reader, bytes, sizeof bytes), 4);
    const uint32_t descriptor = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
    EXPECT_GE(descriptor, 3u);
    EXPECT_LT(descriptor, 65536u);
    close(reader);

    // A FIFO without a reader: the load succeeds silently.
    auto unheard = scenario.Probe({"init", "terminate"});
    EXPECT_EQ(unheard.exitCode, 0);
    EXPECT_EQ(unheard.err, "");

    // An ordinary file of that name is never written.
    unlink(fifo.c_str());
    { std::ofstream(fifo) << ""; }
    auto plain = scenario.Probe({});
    EXPECT_EQ(plain.exitCode, 0);
    struct stat info {};
    ASSERT_EQ(stat(fifo.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 0);
}

} // namespace
