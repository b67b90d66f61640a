#include "platform/catalogue.h"
#include "platform/config_store.h"
#include "platform/paths.h"
#include "support/config_file.h"
#include "tests/unit/test_support.h"

#include <gtest/gtest.h>

namespace {

// Each test uses counter names of its own: the description map and the rate set live
// for the whole process and only grow.
class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override {
        MsgHandlerInitFunction();
        catalogue_ = (dir_.path() / "msgs").string();
        dir_.Write("msgs.msg", "-95003\tdefault description\n");
        ASSERT_EQ(AddResourceFile(catalogue_.c_str()), 0);
        store_ = new_config();
    }
    void TearDown() override {
        delete_config(store_);
        RemoveResourceFile(catalogue_.c_str());
        MsgHandlerDestroyFunction();
    }
    void Read(const std::string &text) {
        const std::string path = dir_.Write("dbgauge.cfg", text);
        ReadMonitorSettingsFrom(store_, path);
        ReadCounterDescriptions(store_);
        ReadRateCounters(store_);
    }
    unit::TempDir dir_;
    std::string catalogue_;
    ConfigStore *store_ = nullptr;
};

TEST_F(ConfigFile, SamplingRateReadsLikeAtoi) {
    struct Case {
        const char *text;
        int rate;
    };
    const Case cases[] = {{"", 5},
                          {"[V$ Monitor]\nSamplingRate=12\n", 12},
                          {"[V$ Monitor]\nSamplingRate=abc\n", 0},
                          {"[V$ Monitor]\nSamplingRate= -3x\n", -3},
                          {"[V$ Monitor]\nSamplingRate=99999999999\n", 2147483647},
                          {"[other]\nSamplingRate=9\n", 5}};
    for (const Case &c : cases) {
        Read(c.text);
        EXPECT_EQ(SamplingRate(), c.rate) << c.text;
    }
    EXPECT_EQ(ConfigFilePath(), (dir_.path() / "dbgauge.cfg").string());
}

TEST_F(ConfigFile, MissingFileGivesDefaultsAndNoCounters) {
    const size_t descriptions = CounterDescriptionCount();
    const size_t rates = RateCounterCount();
    ReadMonitorSettingsFrom(store_, (dir_.path() / "absent.cfg").string());
    ReadCounterDescriptions(store_);
    ReadRateCounters(store_);
    EXPECT_EQ(SamplingRate(), 5);
    EXPECT_EQ(CounterDescriptionCount(), descriptions);
    EXPECT_EQ(RateCounterCount(), rates);
}

TEST_F(ConfigFile, CountersDescriptionsAndRates) {
    Read("[V$ Monitor]\nCounters=3\nCustomCounters=2\n"
         "[0]\nName=cf a\nDescription=first a\nIsRate=1\n"
         "[1]\nName=cf b\nIsRate=yes\n"
         "[2]\nName=cf c\nIsRate=-1\n"
         "[3]\nName=cf beyond\nIsRate=1\nDescription=never read\n"
         "[Custom0]\nName=cf a\nDescription=custom a\n"
         "[Custom1]\nName=cf d\nIsRate= 2\n"
         "[Custom2]\nName=cf e\n");
    struct Case {
        const char *name;
        std::optional<std::string> description;
        bool rate;
    };
    const Case cases[] = {
        {"cf a", "custom a", true}, // the custom section replaces the description
        {"cf b", "default description", false},
        {"cf c", "default description", true},
        {"cf d", "default description", true},
        {"cf beyond", std::nullopt, false},
        {"cf e", std::nullopt, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CounterDescription(c.name), c.description) << c.name;
        EXPECT_EQ(IsRateCounter(c.name), c.rate) << c.name;
    }
}

TEST_F(ConfigFile, LongValuesAreCutAndReadConfigStringBounds) {
    const std::string name(600, 'n');
    const std::string description(1500, 'd');
    Read("[V$ Monitor]\nCounters=1\n[0]\nName=" + name + "\nDescription=" + description + "\n");
    EXPECT_EQ(CounterDescription(name.substr(0, 512)), description.substr(0, 1024));
    char small[4];
    EXPECT_EQ(ReadConfigString(store_, "Name", "0", small, sizeof small, "x"), 3u);
    EXPECT_STREQ(small, "nnn");
    EXPECT_EQ(ReadConfigString(store_, "Query", "Custom9", small, sizeof small, "fb"), 2u);
    EXPECT_STREQ(small, "fb");
}

TEST(ConfigFilePathRule, BesideTheModuleInDatMonitors) {
    // Linked statically, the module is the test executable in <build>/tests.
    EXPECT_EQ(BuildConfigFilePath(),
              platform::JoinPath(platform::ModuleDirectory(), "../dat/monitors/dbgauge.cfg"));
}

} // namespace
