#include "platform/dynamic_library.h"
#include "platform/os_functions.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "tests/unit/test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

namespace {

TEST(OsFunctions, Itoa) {
    struct Case {
        int value, radix;
        const char *expected;
    };
    const Case cases[] = {{0, 10, "0"},           {42, 10, "42"},          {-7, 10, "-7"},
                          {INT_MAX, 10, "2147483647"}, {INT_MIN, 10, "-2147483648"},
                          {255, 16, "ff"},        {5, 2, "101"},           {5, 1, ""}};
    for (const Case &c : cases) {
        char buffer[34];
        EXPECT_STREQ(os_itoa(c.value, buffer, c.radix), c.expected) << c.value;
    }
}

TEST(OsFunctions, CompareAndSearch) {
    EXPECT_EQ(os_strcmp("abc", "abc"), 0);
    EXPECT_NE(os_strcmp("abc", "ABC"), 0);
    EXPECT_EQ(os_stricmp("server", "SERVER"), 0);
    EXPECT_NE(os_stricmp("usr", "user"), 0);
    const char *text = "a=b";
    EXPECT_EQ(os_strchr(text, '='), text + 1);
    EXPECT_EQ(os_strchr(text, '#'), nullptr);
}

TEST(OsFunctions, ClockCanBeHeldStill) {
    int32_t now[2] = {-1, -1};
    os_gettimeofday(now, nullptr);
    EXPECT_GT(now[0], 1600000000);
    EXPECT_GE(now[1], 0);
    EXPECT_LT(now[1], 1000000);
    platform::SetTimeSourceForTesting([](int32_t time[2]) { time[0] = 1000, time[1] = 250; });
    os_gettimeofday(now, nullptr);
    EXPECT_EQ(now[0], 1000);
    EXPECT_EQ(now[1], 250);
    platform::SetTimeSourceForTesting(nullptr);
    os_gettimeofday(now, nullptr);
    EXPECT_GT(now[0], 1600000000);
}

TEST(OsFunctions, ModuleDirectoryFitsOrFails) {
    char dir[4096];
    EXPECT_EQ(os_get_my_module_dir_name("", dir, sizeof dir), 0);
    EXPECT_EQ(dir, platform::ModuleDirectory());
    char tiny[3];
    EXPECT_EQ(os_get_my_module_dir_name("", tiny, sizeof tiny), -1);
    EXPECT_EQ(std::string(tiny).size(), 2u);
}

TEST(DynamicLibrary, NameMappingAndErrors) {
    char name[64];
    EXPECT_STREQ(platform::SharedObjectName("oci.dll", name, sizeof name), "liboci.so");
    EXPECT_STREQ(platform::SharedObjectName("OCIW32.DLL", name, sizeof name), "libOCIW32.so");
    EXPECT_STREQ(platform::SharedObjectName("libm.so.6", name, sizeof name), "libm.so.6");

    EXPECT_EQ(os_load_library("surely-absent-dbgauge.dll"), nullptr);
    char *text = os_dynam_error_text();
    EXPECT_NE(std::string(text).find("libsurely-absent-dbgauge.so"), std::string::npos) << text;
    os_dynam_free_error_text(text);

    void *math = os_load_library("libm.so.6");
    ASSERT_NE(math, nullptr);
    EXPECT_NE(os_get_proc_address(math, "cos"), nullptr);
    EXPECT_EQ(os_get_proc_address(math, "no_such_entry"), nullptr);
    os_unload_library(math);
}

TEST(Registry, KeyIsADirectoryUnderTheRoot) {
    unit::TempDir dir;
    setenv("DBGAUGE_REGISTRY", dir.path().c_str(), 1);
    EXPECT_FALSE(platform::RegistryKeyExists("HKEY_LOCAL_MACHINE", "SOFTWARE\\ORACLE"));
    std::filesystem::create_directories(dir.path() / "HKEY_LOCAL_MACHINE/SOFTWARE/ORACLE");
    EXPECT_TRUE(platform::RegistryKeyExists("HKEY_LOCAL_MACHINE", "SOFTWARE\\ORACLE"));
    EXPECT_FALSE(platform::RegistryKeyExists("HKEY_LOCAL_MACHINE", "SOFTWARE\\..\\SOFTWARE\\ORACLE"));
    dir.Write("HKEY_LOCAL_MACHINE/SOFTWARE/FILE", "");
    EXPECT_FALSE(platform::RegistryKeyExists("HKEY_LOCAL_MACHINE", "SOFTWARE\\FILE"));
    unsetenv("DBGAUGE_REGISTRY");
    EXPECT_EQ(platform::RegistryRoot(), platform::JoinPath(platform::ModuleDirectory(), "../etc/registry"));
}

} // namespace
