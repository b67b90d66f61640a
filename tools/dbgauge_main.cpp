// dbgauge: the reference host. It loads libdbgauge.so from <bin>/../lib as a load-test
// controller would and drives it from the command line.
#include "tools/commands.h"

int main(int argc, char **argv) {
    CLI::App app{"dbgauge: drive the database monitor plug-in from the command line"};
    app.require_subcommand(1);
    AddCheckCommand(app);
    AddWatchCommand(app);
    AddBrowseCommand(app);
    CLI11_PARSE(app, argc, argv);
    return 0;
}
