// The throwaway server that scripts/pg_start.sh describes in its server.env file, named
// by DBGAUGE_TEST_PG. Shared by the tests and the benchmarks.
#pragma once

#include <string>

namespace pgoci_test {

struct Server {
    std::string dir; // the directory holding server.env
    std::string host, port, database, connect;
    std::string adminUser, adminPassword, monitorUser, monitorPassword;
};

// The server of DBGAUGE_TEST_PG, read once; null when the variable is not set or the file
// names no server.
const Server *server();

// A libpq connection string for the monitoring role.
std::string monitorConninfo(const Server &s);

} // namespace pgoci_test
