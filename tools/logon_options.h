// The logon options that the verbs which log on share: --server, --user and --password,
// with the password also taken from DBGAUGE_PASSWORD or a prompt without echo.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

struct LogonOptions {
    std::string server, user;
    std::optional<std::string> password;
};

void AddLogonOptions(CLI::App &command, LogonOptions &logon);

// --password, else DBGAUGE_PASSWORD, else a prompt on a terminal, else empty.
std::string ResolvePassword(const LogonOptions &logon);
