// dbgauge browse: logs on through the monitor's browse interface and prints what the
// database offers to measure: objects, instances, counters with their descriptions, rate
// counters marked; --json for scripts.
#include "tools/browse/catalogue_tree.h"
#include "tools/browse/session.h"
#include "tools/commands.h"
#include "tools/host/browse_exports.h"
#include "tools/host/install_layout.h"
#include "tools/host/library.h"
#include "tools/watch/activation.h"
#include "tools/logon_options.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

struct BrowseOptions {
    std::string library;
    LogonOptions logon;
    bool json = false;
};

int RunBrowseCommand(const BrowseOptions &options) {
    host::MonitorLibrary library;
    host::BrowseExports exports;
    std::string error;
    if (!library.Load(options.library, error) || !exports.Bind(library, error)) {
        std::fprintf(stderr, "browse: the monitor library cannot be used: %s\n", error.c_str());
        return 1;
    }
    browse::BrowseWork work;
    work.exports = &exports;
    work.logon = {options.logon.server, options.logon.user, ResolvePassword(options.logon)};
    int flag = 0;
    char initError[1024] = "";
    if (library.InitMonitor(0, 0, browse::HostCallback, reinterpret_cast<uintptr_t>(&work), &flag,
                            initError, sizeof initError) != 0) {
        std::fprintf(stderr, "browse: InitMonitor failed: %s\n", initError);
        library.TerminateMonitor();
        return 1;
    }
    const auto rates =
        browse::RateCountersOf(host::LayoutFor(options.library).configuration);
    std::vector<browse::ObjectEntry> tree;
    work.work = [&] { tree = browse::ReadTree(exports, rates); };
    const auto outcome = browse::RunBrowse(
        exports, watch::LogonString(work.logon.server, work.logon.user, work.logon.password));
    library.TerminateMonitor();
    if (outcome.result != 0) {
        std::fprintf(stderr, "browse: %s\n", outcome.message.c_str());
        return 1;
    }
    if (options.json)
        browse::PrintJson(stdout, tree);
    else
        browse::PrintTree(stdout, tree);
    return 0;
}

} // namespace

void AddBrowseCommand(CLI::App &app) {
    auto *command = app.add_subcommand(
        "browse", "log on and print the objects, instances and counters that can be measured");
    auto options = std::make_shared<BrowseOptions>();
    options->library = host::DefaultLibraryPath();
    command->add_option("--library", options->library, "path of libdbgauge.so")->capture_default_str();
    AddLogonOptions(*command, options->logon);
    command->add_flag("--json", options->json, "print one JSON document for scripts");
    command->callback([options] {
        const int status = RunBrowseCommand(*options);
        std::fflush(stdout);
        if (status != 0)
            throw CLI::RuntimeError(status);
    });
}
