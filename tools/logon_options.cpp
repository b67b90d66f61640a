#include "tools/logon_options.h"

#include "tools/watch/password.h"

#include <unistd.h>

#include <cstdlib>

void AddLogonOptions(CLI::App &command, LogonOptions &logon) {
    command.add_option("--server", logon.server,
                       "database server: host[:port][/database] or a connection string")
        ->envname("DBGAUGE_SERVER");
    command.add_option("--user", logon.user, "database user")->envname("DBGAUGE_USER");
    command.add_option("--password", logon.password,
                       "password (else DBGAUGE_PASSWORD, else a prompt on a terminal)");
}

std::string ResolvePassword(const LogonOptions &logon) {
    if (logon.password)
        return *logon.password;
    if (const char *fromEnv = std::getenv("DBGAUGE_PASSWORD"))
        return fromEnv;
    if (isatty(STDIN_FILENO)) {
        if (auto typed = watch::PromptPassword("Password for " + logon.user + ": "))
            return *typed;
    }
    return "";
}
