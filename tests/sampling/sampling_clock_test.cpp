// Sampling with a clock the test controls: the monitor runs in this process (static
// core) against the throwaway server; the sampling thread has done its first cycle and
// then waits for an hour, so every sample here is a pull through GetNewData.
#include "monitor/monitor_state.h"
#include "monitor/sampling.h"
#include "platform/os_functions.h"
#include "tests/pgoci/test_support.h"
#include "tests/sampling/core_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace {

using sampling_test::Recorder;

// Waits up to 30 s until a sampling cycle has finished after the count was `before`.
bool AwaitCycleAfter(uint64_t before) {
    for (int i = 0; i < 3000; ++i) {
        if (CompletedSamplingCycles() > before)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::atomic<int32_t> clockSeconds{1000};
std::atomic<int32_t> clockMicroseconds{0};
void StandingClock(int32_t time[2]) {
    time[0] = clockSeconds;
    time[1] = clockMicroseconds;
}

class SamplingClock : public ::testing::Test {
protected:
    void SetUp() override {
        if (pgoci_test::server() == nullptr)
            GTEST_SKIP() << "DBGAUGE_TEST_PG is not set";
        // The interval is an hour: the primer's activation starts the thread, whose first
        // cycle runs at once; once that cycle is over the thread waits, and every sample
        // here is a pull.
        monitor_ = std::make_unique<sampling_test::CoreMonitor>(3600);
        ASSERT_TRUE(monitor_->ok());
        const uint64_t cyclesBefore = CompletedSamplingCycles();
        ASSERT_EQ(Activate("1SELECT 1", "primer", primer_), 0);
        ASSERT_TRUE(AwaitCycleAfter(cyclesBefore));
        platform::SetTimeSourceForTesting(&StandingClock);
        table_ = std::string("sampling_") +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        pgoci_test::adminExecute("DROP TABLE IF EXISTS public." + table_);
        pgoci_test::adminExecute("CREATE TABLE public." + table_ + " (v numeric)");
        pgoci_test::adminExecute("INSERT INTO public." + table_ + " VALUES (0)");
        pgoci_test::adminExecute("GRANT SELECT ON public." + table_ + " TO " +
                                 pgoci_test::server()->monitorUser);
    }
    void TearDown() override {
        platform::SetTimeSourceForTesting(nullptr);
        monitor_.reset();
    }
    int Activate(const std::string &valueString, const std::string &name, Recorder &recorder) {
        return ActivateMeasurement(valueString.c_str(), name.c_str(),
                                   sampling_test::MonitorLogon().c_str(), error_, sizeof error_,
                                   &Recorder::OnValue, recorder.context());
    }
    void Set(double value, int32_t seconds, int32_t microseconds = 0) {
        pgoci_test::adminExecute("UPDATE public." + table_ + " SET v = " + std::to_string(value));
        clockSeconds = seconds;
        clockMicroseconds = microseconds;
    }
    std::string Statement(char mode) const { return mode + std::string("SELECT v FROM ") + table_; }
    int Pull(const std::string &valueString, const std::string &name, ValueRecord &record) {
        return GetNewData(valueString.c_str(), name.c_str(), &record, nullptr, 0);
    }

    Recorder primer_;
    std::unique_ptr<sampling_test::CoreMonitor> monitor_;
    std::string table_;
    char error_[1024] = "";
};

ValueRecord Marked() {
    ValueRecord record;
    std::memset(&record, 0x5A, sizeof record);
    return record;
}

bool Untouched(const ValueRecord &record) {
    const ValueRecord marked = Marked();
    return std::memcmp(&record, &marked, sizeof record) == 0;
}

TEST_F(SamplingClock, RateIsTheGrowthPerSecondSinceThePreviousSample) {
    Recorder recorder;
    const std::string rate = Statement('2');
    ASSERT_EQ(Activate(rate, "r", recorder), 0) << error_;

    ValueRecord record = Marked();
    Set(1000, 1000, 250000);
    EXPECT_EQ(Pull(rate, "r", record), 0);
    EXPECT_TRUE(Untouched(record)) << "the first sample of a rate reports nothing";

    Set(1500, 1005, 250000);
    EXPECT_EQ(Pull(rate, "r", record), 0);
    EXPECT_EQ(record.kind, 1);
    EXPECT_EQ(record.seconds, 1000);
    EXPECT_EQ(record.microseconds, 250000);
    EXPECT_EQ(record.u.current.seconds, 1005);
    EXPECT_EQ(record.u.current.microseconds, 250000);
    EXPECT_DOUBLE_EQ(record.rate, 100.0);

    // No time between two samples: no rate, and the earlier sample stays the base.
    record = Marked();
    Set(2000, 1005, 250000);
    EXPECT_EQ(Pull(rate, "r", record), 0);
    EXPECT_TRUE(Untouched(record));
    Set(2000, 1015, 250000);
    EXPECT_EQ(Pull(rate, "r", record), 0);
    EXPECT_DOUBLE_EQ(record.rate, 50.0);

    // An interval far beyond 32-bit microseconds.
    Set(2000 + 3600.0 * 10, 1015 + 36000, 250000);
    EXPECT_EQ(Pull(rate, "r", record), 0);
    EXPECT_DOUBLE_EQ(record.rate, 1.0);

    // A counter that decreases: negative rate, message -95001, the record still filled.
    Set(0, 1015 + 36010, 250000);
    EXPECT_EQ(Pull(rate, "r", record), -1);
    EXPECT_EQ(record.kind, 1);
    EXPECT_DOUBLE_EQ(record.rate, -3800.0);

    const auto reports = recorder.Reports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_FALSE(reports[2].failed);
    EXPECT_TRUE(reports[3].failed);
    EXPECT_NE(reports[3].error.find("The sampled value is negative"), std::string::npos);
    EXPECT_DOUBLE_EQ(reports[3].record.rate, -3800.0);
}

TEST_F(SamplingClock, ValueModeReportsOnTheFirstSample) {
    Recorder recorder;
    const std::string value = Statement('1');
    ASSERT_EQ(Activate(value, "v", recorder), 0) << error_;
    Set(12.5, 2000, 7);
    ValueRecord record = Marked();
    EXPECT_EQ(Pull(value, "v", record), 0);
    EXPECT_EQ(record.kind, 0);
    EXPECT_EQ(record.seconds, 2000);
    EXPECT_EQ(record.microseconds, 7);
    EXPECT_DOUBLE_EQ(record.u.value, 12.5);
    ASSERT_EQ(recorder.Reports().size(), 1u);
    EXPECT_EQ(std::memcmp(&recorder.Reports()[0].record, &record, sizeof record), 0);
}

TEST_F(SamplingClock, DeactivationSeenByASampleRestartsTheRate) {
    Recorder first, second;
    const std::string rate = Statement('2');
    ASSERT_EQ(Activate(rate, "r", first), 0);
    ValueRecord record = Marked();
    Set(10, 3000);
    Pull(rate, "r", record);
    Set(20, 3001);
    ASSERT_EQ(Pull(rate, "r", record), 0);
    EXPECT_EQ(record.kind, 1);

    // Deactivated and activated again before any sample saw it: it stays a running rate,
    // with its old callback.
    ASSERT_EQ(DeActivateMeasurement(rate.c_str(), "r", error_, sizeof error_), 0);
    ASSERT_EQ(Activate(rate, "r", second), 0);
    Set(30, 3002);
    record = Marked();
    ASSERT_EQ(Pull(rate, "r", record), 0);
    EXPECT_DOUBLE_EQ(record.rate, 10.0);
    EXPECT_EQ(first.Reports().size(), 2u);
    EXPECT_TRUE(second.Reports().empty());

    // Seen inactive: pulls report nothing (1); activated again, it starts over.
    ASSERT_EQ(DeActivateMeasurement(rate.c_str(), "r", error_, sizeof error_), 0);
    record = Marked();
    EXPECT_EQ(Pull(rate, "r", record), 1);
    EXPECT_TRUE(Untouched(record));
    ASSERT_EQ(Activate(rate, "r", second), 0);
    Set(40, 3003);
    EXPECT_EQ(Pull(rate, "r", record), 0);
    EXPECT_TRUE(Untouched(record)) << "a re-activated rate starts with a first sample";
    Set(50, 3004);
    EXPECT_EQ(Pull(rate, "r", record), 0);
    EXPECT_DOUBLE_EQ(record.rate, 10.0);
    EXPECT_EQ(second.Reports().size(), 1u);
}

TEST_F(SamplingClock, OneSessionPerLogon) {
    Recorder recorder;
    const size_t before = Monitor().connections->size();
    ASSERT_EQ(Activate("1SELECT 2", "a", recorder), 0);
    ASSERT_EQ(Activate("1SELECT 3", "b", recorder), 0);
    EXPECT_EQ(Monitor().connections->size(), before) << "the primer's session is reused";
    EXPECT_EQ(ActivateMeasurement("1SELECT 4", "c",
                                  sampling_test::LogonWithPassword("wrong").c_str(), error_,
                                  sizeof error_, &Recorder::OnValue, recorder.context()),
              -1);
    EXPECT_NE(std::string(error_).find("ORA-01017"), std::string::npos) << error_;
    EXPECT_EQ(Monitor().connections->size(), before) << "a failed logon is not cached";
}

} // namespace
