#include "tests/sampling/core_session.h"

#include "support/config_file.h"
#include "tests/pgoci/test_support.h"

#include <gtest/gtest.h>

#include <chrono>

namespace sampling_test {

namespace {
std::string LogonText(const std::string &server, const std::string &user,
                      const std::string &password) {
    std::string text;
    for (auto [key, value] : {std::pair<const char *, std::string>{"srvname=", server},
                              {"usrname=", user}, {"passwd=", password}, {"LogonExtra1=", ""},
                              {"LogonExtra2=", ""}, {"LogonExtra3=", ""}})
        text += key + std::to_string(value.size()) + " " + value + " ";
    return text;
}
} // namespace

CoreMonitor::CoreMonitor(int samplingRateSeconds) {
    int flag = 0;
    char error[1024] = "";
    ok_ = InitMonitor(0, 0, nullptr, 0, &flag, error, sizeof error) == 0;
    EXPECT_TRUE(ok_) << error;
    SetSamplingRate(samplingRateSeconds);
}

CoreMonitor::~CoreMonitor() { TerminateMonitor(); }

std::string MonitorLogon() {
    const auto *s = pgoci_test::server();
    return LogonText(s->connect, s->monitorUser, s->monitorPassword);
}

std::string LogonWithPassword(const std::string &password) {
    const auto *s = pgoci_test::server();
    return LogonText(s->connect, s->monitorUser, password);
}

void Recorder::OnValue(ValueRecord record, const char *errorText, uintptr_t context) {
    auto *self = reinterpret_cast<Recorder *>(context);
    std::lock_guard guard(self->mutex_);
    self->reports_.push_back({record, errorText ? errorText : "", errorText != nullptr, context});
    self->changed_.notify_all();
}

std::vector<Report> Recorder::Reports() {
    std::lock_guard guard(mutex_);
    return reports_;
}

bool Recorder::AwaitCount(size_t count) {
    std::unique_lock guard(mutex_);
    return changed_.wait_for(guard, std::chrono::seconds(30),
                             [&] { return reports_.size() >= count; });
}

} // namespace sampling_test
