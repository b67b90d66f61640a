// Host threads activate, deactivate and pull while the sampling thread samples hundreds
// of measurements every second. Run under ThreadSanitizer, which reports any data race.
#include "tests/pgoci/test_support.h"
#include "tests/sampling/core_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kMeasurements = 300;
constexpr int kHostThreads = 4;

std::string ValueString(int i) { return (i % 2 ? "2SELECT " : "1SELECT ") + std::to_string(i); }

TEST(SamplingStress, HostThreadsAndTheSamplingThreadShareTheTables) {
    if (pgoci_test::server() == nullptr)
        GTEST_SKIP() << "DBGAUGE_TEST_PG is not set";
    // The recorder outlives the monitor, whose thread reports into it until it ends.
    sampling_test::Recorder recorder;
    sampling_test::CoreMonitor monitor(1);
    ASSERT_TRUE(monitor.ok());
    const std::string logon = sampling_test::MonitorLogon();
    std::atomic<int> unexpected{0}, activations{0};

    auto host = [&](int seed) {
        std::mt19937 random(seed);
        char error[256];
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
        for (int round = 0; std::chrono::steady_clock::now() < until; ++round) {
            const int i = static_cast<int>(random() % kMeasurements);
            const std::string valueString = ValueString(i), name = "m" + std::to_string(i);
            switch (random() % 3) {
            case 0:
                if (ActivateMeasurement(valueString.c_str(), name.c_str(), logon.c_str(), error,
                                        sizeof error, &sampling_test::Recorder::OnValue,
                                        recorder.context()) != 0)
                    ++unexpected;
                ++activations;
                break;
            case 1: {
                const int rc = DeActivateMeasurement(valueString.c_str(), name.c_str(), error,
                                                     sizeof error);
                if (rc != 0 && rc != -1) ++unexpected;
                break;
            }
            default: {
                ValueRecord record{};
                const int rc = GetNewData(valueString.c_str(), name.c_str(), &record, nullptr, 0);
                if (rc < -1 || rc > 1) ++unexpected;
            }
            }
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < kHostThreads; ++t)
        threads.emplace_back(host, t + 1);
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(unexpected, 0);
    EXPECT_GT(activations, 0);
    EXPECT_FALSE(recorder.Reports().empty());
    for (const auto &report : recorder.Reports())
        EXPECT_FALSE(report.failed) << report.error;
}

} // namespace
