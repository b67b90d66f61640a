// The end-to-end probe: a host program installed into P/bin that loads P/lib/libdbgauge.so
// and runs the steps named on its command line, printing one line per step:
//   init [SIZE]   InitMonitor with an error buffer of SIZE bytes (default 1024):
//                 "init rc=R flag=F guard=ok|overrun text=[TEXT]"
//   terminate     "terminate rc=R"
//   client        "client=PATH" of the database client library mapped in the process
#include "tools/host/install_layout.h"
#include "tools/host/library.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr char kGuard = 'X';
constexpr size_t kGuardBytes = 16;

void RunInit(host::MonitorLibrary &library, unsigned size) {
    std::vector<char> buffer(size + kGuardBytes, kGuard);
    int flag = 0;
    int rc = library.InitMonitor(0, 0, nullptr, 0, &flag, buffer.data(), size);
    bool guardKept = true;
    for (size_t i = size; i < buffer.size(); ++i)
        guardKept = guardKept && buffer[i] == kGuard;
    std::string text;
    if (size > 0)
        text.assign(buffer.data(), strnlen(buffer.data(), size));
    std::printf("init rc=%d flag=%d guard=%s terminated=%s text=[%s]\n", rc, flag,
                guardKept ? "ok" : "overrun",
                size == 0 || std::memchr(buffer.data(), '\0', size) ? "yes" : "no", text.c_str());
}
} // namespace

int main(int argc, char **argv) {
    host::MonitorLibrary library;
    std::string error;
    if (!library.Load(host::DefaultLibraryPath(), error)) {
        std::printf("load failed: %s\n", error.c_str());
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        std::string step = argv[i];
        if (step == "init") {
            unsigned size = 1024;
            if (i + 1 < argc && std::isdigit(static_cast<unsigned char>(argv[i + 1][0])))
                size = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
            RunInit(library, size);
        } else if (step == "terminate") {
            std::printf("terminate rc=%d\n", library.TerminateMonitor());
        } else if (step == "client") {
            std::printf("client=%s\n", host::LoadedClientLibrary().c_str());
        } else {
            std::printf("unknown step %s\n", step.c_str());
            return 2;
        }
        std::fflush(stdout);
    }
    return 0;
}
