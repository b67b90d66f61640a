#include "platform/config_store.h"
#include "tests/unit/test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(ConfigStore, ReadsSectionsKeysAndKeepsWholeValues) {
    unit::TempDir dir;
    const std::string longValue(3000, 'q');
    const std::string path = dir.Write("a.cfg",
                                       "\xEF\xBB\xBF; comment\n"
                                       "# another\n"
                                       "[V$ Monitor]\r\n"
                                       "  SamplingRate = 7  \r\n"
                                       "[Custom0]\n"
                                       "Query=SELECT a; SELECT b :: int\n"
                                       "Long=" + longValue + "\n"
                                       "Twice=first\n"
                                       "Twice=second\n"
                                       "Colon: value\n"
                                       "no separator line\n");
    ConfigStore *store = new_config();
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(config_add_ini_new_file_source(store, path.c_str()), 0);
    struct Case {
        const char *section, *key, *expected;
    };
    const Case cases[] = {
        {"V$ Monitor", "SamplingRate", "7"},
        {"Custom0", "Query", "SELECT a; SELECT b :: int"},
        {"Custom0", "Long", longValue.c_str()},
        {"Custom0", "Twice", "second"},
        {"Custom0", "Colon", "value"},
        {"Custom0", "SamplingRate", nullptr},
        {"v$ monitor", "SamplingRate", nullptr}, // names compare byte for byte
        {"Nope", "x", nullptr},
    };
    for (const Case &c : cases) {
        const char *value = config_get_attrib_val(store, path.c_str(), c.section, c.key);
        if (c.expected == nullptr)
            EXPECT_EQ(value, nullptr) << c.section << "/" << c.key;
        else
            EXPECT_STREQ(value, c.expected) << c.section << "/" << c.key;
    }
    EXPECT_EQ(config_get_attrib_val(store, "/other/source", "V$ Monitor", "SamplingRate"), nullptr);
    EXPECT_EQ(delete_config(store), 0);
}

TEST(ConfigStore, MissingFileAndNullArgumentsReadEmpty) {
    ConfigStore *store = new_config();
    EXPECT_EQ(config_add_ini_new_file_source(store, "/nonexistent/x.cfg"), -1);
    EXPECT_EQ(config_get_attrib_val(store, "/nonexistent/x.cfg", "a", "b"), nullptr);
    EXPECT_EQ(config_get_attrib_val(nullptr, "/x", "a", "b"), nullptr);
    EXPECT_EQ(config_add_ini_new_file_source(nullptr, "/x"), -1);
    delete_config(store);
    EXPECT_EQ(delete_config(nullptr), 0);
}

} // namespace
