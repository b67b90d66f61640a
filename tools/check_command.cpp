// dbgauge check: initialises and terminates the monitor and tells what it found.
#include "tools/commands.h"
#include "tools/host/install_layout.h"
#include "tools/host/library.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

void PrintHints(const host::InstallLayout &layout) {
    std::printf("What to check:\n");
    if (!host::FileExists(layout.catalogue))
        std::printf("  - the message catalogue is missing: install %s\n",
                    layout.catalogue.c_str());
    if (!host::FileExists(layout.clientLibrary) && !host::FileExists(layout.clientFallback))
        std::printf("  - no database client library beside the monitor: install %s\n",
                    layout.clientLibrary.c_str());
    if (!host::FileExists(layout.registryKey))
        std::printf("  - the client installation key is missing: create %s\n"
                    "    (or point DBGAUGE_REGISTRY at the registry directory)\n",
                    layout.registryKey.c_str());
    std::printf("  - the failure text above names the cause.\n");
}

int RunCheck(const std::string &libraryPath) {
    host::MonitorLibrary library;
    std::string loadError;
    std::printf("Monitor library:   %s\n", libraryPath.c_str());
    if (!library.Load(libraryPath, loadError)) {
        std::printf("FAILED: the monitor library cannot be loaded: %s\n", loadError.c_str());
        std::printf("Install libdbgauge.so in %s, or pass --library.\n",
                    libraryPath.c_str());
        return 1;
    }
    const host::InstallLayout layout = host::LayoutFor(libraryPath);
    std::printf("Message catalogue: %s%s\n", layout.catalogue.c_str(),
                host::FileExists(layout.catalogue) ? "" : " (missing)");

    int flag = 0;
    char errorText[1024];
    const int result = library.InitMonitor(0, 0, nullptr, 0, &flag, errorText, sizeof errorText);
    if (result != 0) {
        std::printf("FAILED: InitMonitor returned %d:\n  %s\n", result, errorText);
        PrintHints(layout);
        library.TerminateMonitor();
        return 1;
    }
    const std::string client = host::LoadedClientLibrary();
    std::printf("Configuration:     %s%s\n", layout.configuration.c_str(),
                host::FileExists(layout.configuration) ? "" : " (missing: defaults in use)");
    std::printf("Sampling rate:     %d seconds\n",
                host::ConfiguredSamplingRate(layout.configuration));
    std::printf("Client library:    %s\n", client.empty() ? "(none mapped)" : client.c_str());
    const int shutdown = library.TerminateMonitor();
    std::printf("TerminateMonitor:  %d\n", shutdown);
    std::printf("OK: the monitor initialises and terminates.\n");
    return 0;
}

} // namespace

void AddCheckCommand(CLI::App &app) {
    auto *check = app.add_subcommand(
        "check", "initialise and terminate the monitor and report what it found");
    auto libraryPath = std::make_shared<std::string>(host::DefaultLibraryPath());
    check->add_option("--library", *libraryPath, "path of libdbgauge.so")->capture_default_str();
    check->callback([libraryPath] {
        const int status = RunCheck(*libraryPath);
        std::fflush(stdout);
        if (status != 0)
            throw CLI::RuntimeError(status);
    });
}
