// Where an installation keeps what the monitor reads, seen from the host: the paths the
// library uses by its own rules, so that the host can tell a person what is missing.
#pragma once

#include <string>

namespace host {

struct InstallLayout {
    std::string catalogue;     // <bin>/../dat/pt_mon_dbgauge_msgs.msg
    std::string configuration; // <lib>/../dat/monitors/dbgauge.cfg
    std::string clientLibrary; // <lib>/liboci.so
    std::string clientFallback; // <lib>/libociw32.so
    std::string registryKey;   // <registry root>/HKEY_LOCAL_MACHINE/SOFTWARE/ORACLE
};

InstallLayout LayoutFor(const std::string &libraryPath);

bool FileExists(const std::string &path);

// The path of the database client library mapped into this process ("" when none):
// after a successful InitMonitor, the one the monitor bound.
std::string LoadedClientLibrary();

// "SamplingRate" of the configuration file as the monitor reads it (5 when absent).
int ConfiguredSamplingRate(const std::string &configuration);

} // namespace host
