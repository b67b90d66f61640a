#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

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

Logon::Logon(const std::string &user, const std::string &password, const std::string &connect) {
    rc = olog(&lda, hda, user.c_str(), -1, password.c_str(), -1, connect.c_str(), -1, 0);
}

Logon::~Logon() { ologof(&lda); }

std::string Logon::errorText(int code) {
    char buffer[1024];
    oerhms(&lda, code, buffer, sizeof buffer);
    return buffer;
}

namespace {

int fetchOne(Logon &logon, const std::string &statement, void *buffer, int length, int type,
             int16_t *indicator) {
    OciDataArea cursor{};
    oopen(&cursor, &logon.lda, nullptr, -1, -1, nullptr, -1);
    oparse(&cursor, statement.c_str(), -1, 1, 1);
    odefin(&cursor, 1, buffer, length, type, 0, indicator, nullptr, -1, -1, nullptr, nullptr);
    oexfet(&cursor, 1, 0, 0);
    int rc = cursor.rc;
    oclose(&cursor);
    return rc;
}

} // namespace

int fetchInt(Logon &logon, const std::string &statement, int32_t *value, int16_t *indicator) {
    return fetchOne(logon, statement, value, 4, OCI_EXT_INTEGER, indicator);
}

int fetchText(Logon &logon, const std::string &statement, std::string *text,
              int16_t *indicator) {
    char buffer[256] = "unchanged";
    int rc = fetchOne(logon, statement, buffer, sizeof buffer, OCI_EXT_STRING, indicator);
    *text = buffer;
    return rc;
}

void adminExecute(const std::string &statement) {
    const Server *s = server();
    ASSERT_NE(s, nullptr);
    Logon admin(s->adminUser, s->adminPassword, s->connect);
    ASSERT_EQ(admin.rc, 0) << admin.errorText(admin.rc);
    OciDataArea cursor{};
    oopen(&cursor, &admin.lda, nullptr, -1, -1, nullptr, -1);
    oparse(&cursor, statement.c_str(), -1, 1, 1);
    oexfet(&cursor, 0, 0, 0);
    EXPECT_EQ(cursor.rc, 0) << statement << ": " << admin.errorText(cursor.rc);
    oclose(&cursor);
}

} // namespace pgoci_test
