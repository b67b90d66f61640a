// The verbs of the reference host. Each adds its subcommand to the application.
#pragma once

#include <CLI/CLI.hpp>

void AddCheckCommand(CLI::App &app);
void AddWatchCommand(CLI::App &app);
void AddBrowseCommand(CLI::App &app);
