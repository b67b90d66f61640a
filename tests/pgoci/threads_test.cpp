// Two threads share one session, as the host's thread and the sampling thread do, with
// no lock of their own around the calls.
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

using namespace pgoci_test;

TEST(Threads, TwoThreadsShareOneSession) {
    const Server *s = server();
    if (!s) GTEST_SKIP() << "DBGAUGE_TEST_PG is not set";
    Logon logon(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon.rc, 0);
    std::atomic<int> failures{0};
    auto work = [&](int offset) {
        for (int i = 0; i < 100; ++i) {
            int32_t value = -1;
            int statistic = (i + offset) % 40;
            int rc = fetchInt(logon, "SELECT STATISTIC# FROM V$STATNAME WHERE STATISTIC# = " +
                                         std::to_string(statistic), &value, nullptr);
            if (rc != 0 || value != statistic) ++failures;
            std::string text;
            if (fetchText(logon, "SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = 2", &text,
                          nullptr) != 0)
                ++failures;
        }
    };
    std::thread a(work, 0), b(work, 7);
    a.join();
    b.join();
    EXPECT_EQ(failures.load(), 0);
}

TEST(Threads, LogoffWhileAnotherThreadQueries) {
    const Server *s = server();
    if (!s) GTEST_SKIP() << "DBGAUGE_TEST_PG is not set";
    auto logon = std::make_unique<Logon>(s->monitorUser, s->monitorPassword, s->connect);
    ASSERT_EQ(logon->rc, 0);
    std::atomic<bool> loggedOff{false};
    std::atomic<int> unexpected{0};
    std::thread sampler([&] {
        while (!loggedOff.load()) {
            int32_t value;
            int rc = fetchInt(*logon, "SELECT 1", &value, nullptr);
            if (rc != 0 && rc != 1012 && rc != 1001) ++unexpected;
        }
        int32_t value;
        int rc = fetchInt(*logon, "SELECT 1", &value, nullptr);
        if (rc == 0) ++unexpected;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(ologof(&logon->lda), 0);
    loggedOff = true;
    sampler.join();
    EXPECT_EQ(unexpected.load(), 0);
}
