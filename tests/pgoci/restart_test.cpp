// A session survives a server restart: the statement that finds the connection broken
// fails with 3113 or 3114, and the session is re-established for the next ones.
#include <chrono>
#include <cstdlib>
#include <thread>

#include <gtest/gtest.h>

#include "test_support.h"

using namespace pgoci_test;

TEST(Restart, SessionRecoversAfterTheServerRestarts) {
    const Server *s = server();
    if (!s) GTEST_SKIP() << "DBGAUGE_TEST_PG is not set";
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    int32_t before = 0;
    ASSERT_EQ(fetchInt(logon, "SELECT pg_backend_pid()", &before, nullptr), 0);

    std::string command = std::string(PGOCI_SCRIPTS_DIR) + "/pg_restart.sh '" + s->dir + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);

    int32_t value = 0;
    int rc = fetchInt(logon, "SELECT 1", &value, nullptr);
    EXPECT_TRUE(rc == 3113 || rc == 3114) << rc << ": " << logon.errorText(rc);
    std::string text = logon.errorText(rc);
    EXPECT_TRUE(text.rfind("ORA-03113: ", 0) == 0 || text.rfind("ORA-03114: ", 0) == 0) << text;

    int32_t after = 0;
    rc = -1;
    for (int i = 0; i < 50 && rc != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        rc = fetchInt(logon, "SELECT pg_backend_pid()", &after, nullptr);
    }
    EXPECT_EQ(rc, 0) << logon.errorText(rc);
    EXPECT_NE(after, before);
    std::string path;
    EXPECT_EQ(fetchText(logon, "SHOW search_path", &path, nullptr), 0);
    EXPECT_EQ(path, "\"$user\", dbgauge, public");
}
