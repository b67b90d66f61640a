#include "server_env.h"

#include <cstdlib>
#include <fstream>
#include <map>

namespace pgoci_test {

const Server *server() {
    static Server s;
    static bool loaded = false;
    if (loaded) return &s;
    const char *env = std::getenv("DBGAUGE_TEST_PG");
    if (!env || !*env) return nullptr;
    std::ifstream in(env);
    std::map<std::string, std::string> values;
    for (std::string line; std::getline(in, line);) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    std::string path = env;
    s.dir = path.substr(0, path.rfind('/'));
    s.host = values["DBGAUGE_PG_HOST"];
    s.port = values["DBGAUGE_PG_PORT"];
    s.database = values["DBGAUGE_PG_DATABASE"];
    s.connect = values["DBGAUGE_PG_CONNECT"];
    s.adminUser = values["DBGAUGE_PG_ADMIN_USER"];
    s.adminPassword = values["DBGAUGE_PG_ADMIN_PASSWORD"];
    s.monitorUser = values["DBGAUGE_PG_MONITOR_USER"];
    s.monitorPassword = values["DBGAUGE_PG_MONITOR_PASSWORD"];
    if (s.connect.empty()) return nullptr;
    loaded = true;
    return &s;
}

std::string monitorConninfo(const Server &s) {
    return "host=" + s.host + " port=" + s.port + " dbname=" + s.database +
           " user=" + s.monitorUser + " password=" + s.monitorPassword;
}

} // namespace pgoci_test
