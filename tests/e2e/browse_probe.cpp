// The browse probe: a host program installed into P/bin that loads P/lib/libdbgauge.so
// and runs the steps named on its command line through the browse exports, printing one
// line per result:
//   init                        "init rc=R"
//   terminate                   "terminate rc=R"
//   login USER PASSWORD SERVER  "login rc=R"
//   objects                     "objects n=N" and "object I NAME" (I from -1 to N)
//   counters OBJECT             "counters OBJECT n=N", "counter I NAME" for I < N, then the
//                               entry at N ("counter N <null>" when there is none)
//   instances OBJECT            the same with "instances" / "instance"
//   add OBJECT COUNTER INSTANCE "add rc=R"
//   desc COUNTER                "desc [TEXT]"
//   misc                        "rate=R" (SetMonitorRate), "cancel", "free=null|set"
//   browse LOGON STEPS... end   BrowseMonitor whose host callback runs STEPS; then
//                               "browse rc=R count=N records=null|set guard=ok|overrun
//                               message=[TEXT]" and one line per record, every field read
//                               at its byte offset:
//                               "record I value=[] name=[] desc=[] logon=[] three=N
//                               conn=[] rate=N"
#include "tools/host/browse_exports.h"
#include "tools/host/library.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kMessageBytes = 1024;
constexpr size_t kGuardBytes = 64;

struct Probe {
    host::MonitorLibrary library;
    host::BrowseExports browse;
    std::vector<std::string> steps;
    // Steps the host callback runs: [callbackBegin, callbackEnd).
    size_t callbackBegin = 0;
    size_t callbackEnd = 0;

    void Print(const std::string &line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
    // Runs the step at i; returns the index of the next step.
    size_t Run(size_t i);
    size_t RunBrowse(size_t i);
    void ListEntries(const char *what, const std::string &object,
                     int (*count)(const char *), char *(*entry)(const char *, int));
};


void HostCallback(char *, uintptr_t hostValue) {
    Probe &probe = *reinterpret_cast<Probe *>(hostValue);
    for (size_t i = probe.callbackBegin; i < probe.callbackEnd;)
        i = probe.Run(i);
}

std::string Field(const unsigned char *record, size_t offset, size_t size) {
    const char *text = reinterpret_cast<const char *>(record + offset);
    return std::string(text, strnlen(text, size));
}

int32_t IntAt(const unsigned char *record, size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

void Probe::ListEntries(const char *what, const std::string &object, int (*count)(const char *),
                        char *(*entry)(const char *, int)) {
    const int n = count(object.c_str());
    Print(std::string(what) + "s " + object + " n=" + std::to_string(n));
    for (int i = 0; i <= n; ++i) {
        char *text = entry(object.c_str(), i);
        Print(std::string(what) + " " + std::to_string(i) + " " +
              (text != nullptr ? browse.Take(text) : std::string("<null>")));
    }
}

size_t Probe::RunBrowse(size_t i) {
    const std::string logon = steps[i + 1];
    size_t end = i + 2;
    while (end < steps.size() && steps[end] != "end")
        ++end;
    callbackBegin = i + 2;
    callbackEnd = end;
    std::vector<char> message(kMessageBytes + kGuardBytes, 'X');
    BrowseRecord *records = reinterpret_cast<BrowseRecord *>(1);
    int count = -1;
    const int rc = browse.BrowseMonitor(0, logon.c_str(), &records, &count, message.data());
    bool guardKept = true;
    for (size_t g = kMessageBytes; g < message.size(); ++g)
        guardKept = guardKept && message[g] == 'X';
    Print("browse rc=" + std::to_string(rc) + " count=" + std::to_string(count) +
          " records=" + (records == nullptr ? "null" : "set") +
          " guard=" + (guardKept ? "ok" : "overrun") + " message=[" +
          std::string(message.data(), strnlen(message.data(), kMessageBytes)) + "]");
    if (rc == 0 && records != nullptr) {
        for (int r = 0; r < count; ++r) {
            const auto *raw = reinterpret_cast<const unsigned char *>(records) + r * 3592;
            Print("record " + std::to_string(r) + " value=[" + Field(raw, 0, 512) + "] name=[" +
                  Field(raw, 512, 512) + "] desc=[" + Field(raw, 1024, 1024) + "] logon=[" +
                  Field(raw, 2048, 512) + "] three=" + std::to_string(IntAt(raw, 2560)) +
                  " conn=[" + Field(raw, 2564, 1024) + "] rate=" +
                  std::to_string(IntAt(raw, 3588)));
        }
        std::free(records);
    }
    return end + 1;
}

size_t Probe::Run(size_t i) {
    const std::string &step = steps[i];
    auto arg = [&](size_t k) { return i + k < steps.size() ? steps[i + k] : std::string(); };
    if (step == "init") {
        int flag = 0;
        char text[1024] = "";
        const int rc = library.InitMonitor(0, 0, HostCallback, reinterpret_cast<uintptr_t>(this),
                                           &flag, text, sizeof text);
        Print("init rc=" + std::to_string(rc) + " text=[" + text + "]");
        return i + 1;
    }
    if (step == "terminate") {
        Print("terminate rc=" + std::to_string(library.TerminateMonitor()));
        return i + 1;
    }
    if (step == "login") {
        Print("login rc=" + std::to_string(browse.SetLoginInfo(arg(1).c_str(), arg(2).c_str(),
                                                               arg(3).c_str(), "", "", "")));
        return i + 4;
    }
    if (step == "objects") {
        const int n = browse.GetNumberOfObjects();
        Print("objects n=" + std::to_string(n));
        for (int k = -1; k <= n; ++k) {
            char *name = browse.GetObjectById(k);
            Print("object " + std::to_string(k) + " " +
                  (name != nullptr ? browse.Take(name) : std::string("<null>")));
        }
        return i + 1;
    }
    if (step == "counters") {
        ListEntries("counter", arg(1), browse.GetNumberOfCounters, browse.GetCounterById);
        return i + 2;
    }
    if (step == "instances") {
        ListEntries("instance", arg(1), browse.GetNumberOfInstances, browse.GetInstanceById);
        return i + 2;
    }
    if (step == "add") {
        Print("add rc=" + std::to_string(browse.MeasurementAdded(arg(1).c_str(), arg(2).c_str(),
                                                                 arg(3).c_str())));
        return i + 4;
    }
    if (step == "desc") {
        Print("desc [" + browse.Take(browse.GetCounterDescription(arg(1).c_str())) + "]");
        return i + 2;
    }
    if (step == "misc") {
        Print("rate=" + std::to_string(browse.SetMonitorRate(7)));
        browse.CancelAdd();
        Print("cancel");
        char *place = nullptr;
        browse.FreeMonitorStringAllocation(&place);
        Print(std::string("free=") + (place == nullptr ? "null" : "set"));
        return i + 1;
    }
    if (step == "browse")
        return RunBrowse(i);
    Print("unknown step " + step);
    std::exit(2);
}

} // namespace

int main(int argc, char **argv) {
    Probe probe;
    std::string error;
    if (!probe.library.Load(host::DefaultLibraryPath(), error) || !probe.browse.Bind(probe.library, error)) {
        std::printf("load failed: %s\n", error.c_str());
        return 2;
    }
    probe.steps.assign(argv + 1, argv + argc);
    for (size_t i = 0; i < probe.steps.size();)
        i = probe.Run(i);
    return 0;
}
