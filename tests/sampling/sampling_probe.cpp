// The sampling probe: a host program installed into P/bin that loads P/lib/libdbgauge.so
// and runs the steps named on its command line, one output line per step or sample:
//   init                              "init rc=R text=[T]"
//   activate NAME VALUESTRING LOGON   "activate NAME rc=R text=[T]"
//   deactivate NAME VALUESTRING       "deactivate NAME rc=R text=[T]"
//   pull NAME VALUESTRING             "pull NAME rc=R untouched=yes|no kind=K value=V"
//                                     (V is the rate for kind 1)
//   await NAME COUNT                  waits (up to 60 s) until NAME has COUNT samples:
//                                     "await NAME got=N"
//   sleep MS
//   terminate                         "terminate rc=R ms=ELAPSED"
// Every sample that reaches the callback prints
//   "sample NAME kind=K value=V rate=R error=[T]"
#include "tools/host/library.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace {

std::mutex outputMutex;
std::condition_variable sampled;
std::map<std::string, int> sampleCounts;
std::deque<std::string> names; // stable addresses: the callback's context points here

void DBG_STDCALL OnValue(ValueRecord record, const char *errorText, uintptr_t context) {
    const auto *name = reinterpret_cast<const std::string *>(context);
    std::lock_guard guard(outputMutex);
    std::printf("sample %s kind=%d value=%.6f rate=%.6f error=[%s]\n", name->c_str(), record.kind,
                record.kind == 0 ? record.u.value : 0.0, record.kind == 1 ? record.rate : 0.0,
                errorText != nullptr ? errorText : "");
    std::fflush(stdout);
    ++sampleCounts[*name];
    sampled.notify_all();
}

const std::string *NameContext(const std::string &name) {
    for (const auto &known : names)
        if (known == name)
            return &known;
    names.push_back(name);
    return &names.back();
}

} // namespace

int main(int argc, char **argv) {
    host::MonitorLibrary library;
    std::string error;
    if (!library.Load(host::DefaultLibraryPath(), error)) {
        std::printf("load failed: %s\n", error.c_str());
        return 2;
    }
    auto print = [](const char *format, auto... args) {
        std::lock_guard guard(outputMutex);
        std::printf(format, args...);
        std::fflush(stdout);
    };
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        auto next = [&]() -> const char * {
            if (i + 1 >= argc) {
                std::printf("step %s lacks an argument\n", step.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        char text[1024] = "";
        if (step == "init") {
            int flag = 0;
            const int rc = library.InitMonitor(0, 0, nullptr, 0, &flag, text, sizeof text);
            print("init rc=%d text=[%s]\n", rc, text);
        } else if (step == "activate") {
            const std::string name = next(), valueString = next(), logon = next();
            const int rc = library.ActivateMeasurement(
                valueString.c_str(), name.c_str(), logon.c_str(), text, sizeof text, &OnValue,
                reinterpret_cast<uintptr_t>(NameContext(name)));
            print("activate %s rc=%d text=[%s]\n", name.c_str(), rc, text);
        } else if (step == "deactivate") {
            const std::string name = next(), valueString = next();
            const int rc = library.DeActivateMeasurement(valueString.c_str(), name.c_str(), text,
                                                         sizeof text);
            print("deactivate %s rc=%d text=[%s]\n", name.c_str(), rc, text);
        } else if (step == "pull") {
            const std::string name = next(), valueString = next();
            ValueRecord record;
            std::memset(&record, 0xA5, sizeof record);
            ValueRecord untouched = record;
            const int rc = library.GetNewData(valueString.c_str(), name.c_str(), &record, text,
                                              sizeof text);
            print("pull %s rc=%d untouched=%s kind=%d value=%.6f\n", name.c_str(), rc,
                  std::memcmp(&record, &untouched, sizeof record) == 0 ? "yes" : "no",
                  record.kind, record.kind == 1 ? record.rate : record.u.value);
        } else if (step == "await") {
            const std::string name = next();
            const int count = std::atoi(next());
            std::unique_lock guard(outputMutex);
            sampled.wait_for(guard, std::chrono::seconds(60),
                             [&] { return sampleCounts[name] >= count; });
            std::printf("await %s got=%d\n", name.c_str(), sampleCounts[name]);
            std::fflush(stdout);
        } else if (step == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(next())));
        } else if (step == "terminate") {
            const auto started = std::chrono::steady_clock::now();
            const int rc = library.TerminateMonitor();
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - started)
                                .count();
            print("terminate rc=%d ms=%lld\n", rc, static_cast<long long>(ms));
        } else {
            std::printf("unknown step %s\n", step.c_str());
            return 2;
        }
    }
    return 0;
}
