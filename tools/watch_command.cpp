// dbgauge watch: activates measurements given as value strings, shows their samples live
// and, at the end, a summary per measurement, with the samples in a CSV file and a chart
// when asked.
#include "tools/browse/session.h"
#include "tools/commands.h"
#include "tools/host/browse_exports.h"
#include "tools/host/library.h"
#include "tools/watch/activation.h"
#include "tools/watch/csv_writer.h"
#include "tools/logon_options.h"
#include "tools/watch/sample_log.h"
#include "tools/watch/summary.h"
#include "tools/watch/svg_chart.h"
#include "tools/watch/table_view.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<bool> interrupted{false};
extern "C" void OnInterrupt(int) { interrupted = true; }

struct WatchOptions {
    std::string library;
    LogonOptions logon;
    std::vector<std::string> measures;
    std::vector<std::string> picks; // "OBJECT/COUNTER/INSTANCE"
    std::string pickFile;
    double duration = 30;
    std::string csv, chart;
    bool plain = false;
};

// Picks the measurements by name as a controller's browse dialog does: BrowseMonitor,
// whose host callback logs on and reports each pick with MeasurementAdded. Every record
// becomes an item named by its presentation name, activated with the logon string of
// the session it was picked on. A refused pick is reported (the monitor shows why on
// standard error); false when the browse itself failed.
bool PickItems(host::MonitorLibrary &library, browse::BrowseWork &work,
               const std::vector<std::string> &picks, const std::string &logon,
               std::vector<watch::WatchItem> &items) {
    host::BrowseExports exports;
    std::string error;
    if (!exports.Bind(library, error)) {
        std::fprintf(stderr, "watch: %s\n", error.c_str());
        return false;
    }
    work.exports = &exports;
    work.work = [&] {
        for (const std::string &pick : picks) {
            std::string object, counter, instance;
            if (!browse::ParsePick(pick, object, counter, instance)) {
                std::fprintf(stderr, "watch: --pick needs OBJECT/COUNTER/INSTANCE, not \"%s\"\n",
                             pick.c_str());
                continue;
            }
            if (exports.MeasurementAdded(object.c_str(), counter.c_str(), instance.c_str()) != 0)
                std::fprintf(stderr, "watch: the monitor refused the pick \"%s\"\n", pick.c_str());
        }
    };
    const auto outcome = browse::RunBrowse(exports, logon);
    work.exports = nullptr;
    if (outcome.result != 0) {
        std::fprintf(stderr, "watch: browsing failed: %s\n", outcome.message.c_str());
        return false;
    }
    for (const auto &record : outcome.records)
        items.push_back({record.presentationName, record.valueString, record.connectionLogon});
    return true;
}

int RunWatch(const WatchOptions &options) {
    std::vector<watch::WatchItem> items;
    const std::string password = ResolvePassword(options.logon);
    const std::string logon = watch::LogonString(options.logon.server, options.logon.user, password);
    std::vector<std::string> picks = options.picks;
    if (!options.pickFile.empty()) {
        std::string error;
        if (!browse::ReadPickFile(options.pickFile, picks, error)) {
            std::fprintf(stderr, "watch: %s\n", error.c_str());
            return 2;
        }
    }
    for (const std::string &measure : options.measures) {
        watch::WatchItem item;
        if (!watch::ParseMeasureOption(measure, item.name, item.valueString)) {
            std::fprintf(stderr, "watch: --measure needs NAME=VALUESTRING, not \"%s\"\n",
                         measure.c_str());
            return 2;
        }
        item.logonString = logon;
        items.push_back(std::move(item));
    }
    if (items.empty() && picks.empty()) {
        std::fprintf(stderr, "watch: nothing to watch: give at least one --measure NAME=VALUESTRING "
                             "or --pick OBJECT/COUNTER/INSTANCE\n");
        return 2;
    }
    if (options.duration <= 0) {
        std::fprintf(stderr, "watch: --duration must be a positive number of seconds\n");
        return 2;
    }

    host::MonitorLibrary library;
    std::string loadError;
    if (!library.Load(options.library, loadError)) {
        std::fprintf(stderr, "watch: the monitor library cannot be loaded: %s\n", loadError.c_str());
        return 1;
    }
    int flag = 0;
    char initError[1024] = "";
    browse::BrowseWork work;
    work.logon = {options.logon.server, options.logon.user, password};
    if (library.InitMonitor(0, 0, browse::HostCallback, reinterpret_cast<uintptr_t>(&work), &flag,
                            initError, sizeof initError) != 0) {
        std::fprintf(stderr, "watch: InitMonitor failed: %s\n", initError);
        library.TerminateMonitor();
        return 1;
    }
    const size_t measured = items.size();
    if (!picks.empty() && (!PickItems(library, work, picks, logon, items) || items.size() == measured)) {
        if (items.size() == measured)
            std::fprintf(stderr, "watch: no pick was accepted\n");
        library.TerminateMonitor();
        return 1;
    }

    std::vector<std::string> names;
    for (const auto &item : items)
        names.push_back(item.name);
    watch::SampleLog log(names);
    std::unique_ptr<watch::CsvWriter> csv;
    if (!options.csv.empty()) {
        csv = std::make_unique<watch::CsvWriter>(options.csv, names);
        if (!csv->ok()) {
            std::fprintf(stderr, "watch: cannot write %s\n", options.csv.c_str());
            library.TerminateMonitor();
            return 1;
        }
    }

    const auto failures = watch::ActivateAll(library, items, log);
    for (const auto &failure : failures)
        std::fprintf(stderr, "watch: %s could not be activated: %s\n",
                     items[failure.index].name.c_str(), failure.text.c_str());
    if (failures.size() == items.size()) {
        library.TerminateMonitor();
        return 1;
    }

    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    const bool redraw = !options.plain && isatty(STDOUT_FILENO) && std::getenv("TERM") != nullptr;
    watch::TableView view(stdout, names, redraw);
    size_t seen = 0;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(options.duration * 1000));
    auto show = [&] {
        const auto fresh = log.Since(seen);
        view.Update(fresh);
        if (csv)
            csv->Write(fresh);
    };
    while (!interrupted && std::chrono::steady_clock::now() < deadline) {
        show();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    watch::DeactivateAll(library, items);
    // TerminateMonitor waits for a running cycle, whose samples are still shown.
    const int shutdown = library.TerminateMonitor();
    show();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);

    const auto samples = log.All();
    watch::PrintSummary(stdout, names, watch::Summarise(samples, names.size()));
    if (csv)
        std::printf("Samples written to %s\n", options.csv.c_str());
    if (!options.chart.empty()) {
        if (watch::WriteSvgChart(options.chart, names, samples))
            std::printf("Chart written to %s\n", options.chart.c_str());
        else
            std::fprintf(stderr, "watch: cannot write %s\n", options.chart.c_str());
    }
    std::fflush(stdout);
    if (shutdown != 0)
        std::fprintf(stderr, "watch: TerminateMonitor returned %d\n", shutdown);
    return failures.empty() ? 0 : 1;
}

} // namespace

void AddWatchCommand(CLI::App &app) {
    auto *command = app.add_subcommand(
        "watch", "activate measurements and show their samples live, with a summary at the end");
    auto options = std::make_shared<WatchOptions>();
    options->library = host::DefaultLibraryPath();
    command->add_option("--library", options->library, "path of libdbgauge.so")->capture_default_str();
    AddLogonOptions(*command, options->logon);
    command->add_option("--measure", options->measures,
                        "NAME=VALUESTRING: a name of your own and the value string "
                        "(\"1\" + statement for a value, \"2\" + statement for a rate per second)");
    command->add_option("--pick", options->picks,
                        "OBJECT/COUNTER/INSTANCE: pick a measurement by name through the "
                        "monitor's browse interface (e.g. \"V$SYSSTAT/user commits/1/dbgauge\")");
    command->add_option("--pick-file", options->pickFile,
                        "a file of picks, one OBJECT/COUNTER/INSTANCE per line ('#' comments)");
    command->add_option("--duration", options->duration, "seconds to watch")->capture_default_str();
    command->add_option("--csv", options->csv, "write every sample to this CSV file");
    command->add_option("--chart", options->chart, "write a chart of the run to this SVG file");
    command->add_flag("--plain", options->plain, "print one line per sample, even on a terminal");
    command->callback([options] {
        const int status = RunWatch(*options);
        std::fflush(stdout);
        if (status != 0)
            throw CLI::RuntimeError(status);
    });
}
