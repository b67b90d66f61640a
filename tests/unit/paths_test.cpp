#include "platform/paths.h"

#include <gtest/gtest.h>

namespace {

TEST(Paths, JoinResolvesWindowsStyleRelativePathsLexically) {
    struct Case {
        const char *base, *relative, *expected;
    };
    const Case cases[] = {
        {"/opt/p/lib", "\\..\\dat\\monitors\\dbgauge.cfg", "/opt/p/dat/monitors/dbgauge.cfg"},
        {"/opt/p/bin/host.exe", "..\\dat\\pt_mon_dbgauge_msgs", "/opt/p/bin/dat/pt_mon_dbgauge_msgs"},
        {"/opt/p/bin/", "..\\dat\\x", "/opt/p/dat/x"},
        {"/opt//p/./lib", "..\\..\\..\\..\\x", "/x"},
        {"/", "..", "/"},
        {"rel/dir", "..\\..\\..\\up", "../up"},
        {"/a/b", "c/./d\\\\e", "/a/b/c/d/e"},
        {"/a/b", "", "/a/b"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(platform::JoinPath(c.base, c.relative), c.expected) << c.base << " + " << c.relative;
}

TEST(Paths, DirectoryOfAndExecutable) {
    EXPECT_EQ(platform::DirectoryOf("/a/b/c"), "/a/b");
    EXPECT_EQ(platform::DirectoryOf("/c"), "/");
    EXPECT_EQ(platform::DirectoryOf("c"), ".");
    const std::string exe = platform::ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.front(), '/');
    // Linked statically, the module is the test executable itself.
    EXPECT_EQ(platform::ModuleDirectory(), platform::DirectoryOf(exe));
}

} // namespace
