#include "platform/catalogue.h"
#include "platform/sync.h"
#include "support/message_text.h"
#include "tests/unit/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

using platform::WaitResult;

TEST(AutoResetEvent, TimesOutKeepsASetAndResetsAfterOneWaiter) {
    platform::AutoResetEvent event;
    EXPECT_EQ(event.wait(10), WaitResult::TimedOut);
    event.set();
    EXPECT_EQ(event.wait(0), WaitResult::Signalled);
    EXPECT_EQ(event.wait(0), WaitResult::TimedOut) << "the event resets itself";
}

TEST(AutoResetEvent, WakesAWaitingThread) {
    platform::AutoResetEvent ready, stop;
    std::atomic<int> rounds{0};
    platform::Thread worker([&] {
        ready.set();
        while (stop.wait(-1) == WaitResult::Signalled && rounds.fetch_add(1) < 2) {
            ready.set();
        }
    });
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(ready.wait(10000), WaitResult::Signalled);
        stop.set();
    }
    worker.join();
    EXPECT_EQ(rounds.load(), 3);
}

TEST(RecursiveLock, ReentersAndKeepsTheDefaultWithoutSpinCount) {
    platform::RecursiveLock lock;
    EXPECT_FALSE(lock.spinCountApplied());
    std::lock_guard outer(lock);
    std::lock_guard inner(lock);
    std::atomic<bool> taken{true};
    platform::Thread other([&] { taken = lock.try_lock(); });
    other.join();
    EXPECT_FALSE(taken.load());
}

TEST(Catalogue, FormatsFromManyThreadsAtOnce) {
    unit::TempDir dir;
    dir.Write("msgs.msg", "-95016\tlogon failed: %1\n");
    const std::string resource = (dir.path() / "msgs").string();
    MsgHandlerInitFunction();
    ASSERT_EQ(AddResourceFile(resource.c_str()), 0);
    std::atomic<int> wrong{0};
    std::vector<std::unique_ptr<platform::Thread>> threads;
    for (int t = 0; t < 4; ++t) {
        threads.push_back(std::make_unique<platform::Thread>([&, t] {
            const std::string arg = "thread " + std::to_string(t);
            for (int i = 0; i < 500; ++i) {
                FormatCatalogueMessage(MessageBuffer(), 1024, -95016, arg.c_str());
                if (std::string(MessageBuffer()) != "logon failed: " + arg)
                    ++wrong;
            }
        }));
    }
    threads.clear();
    EXPECT_EQ(wrong.load(), 0);
    RemoveResourceFile(resource.c_str());
    MsgHandlerDestroyFunction();
}

} // namespace
