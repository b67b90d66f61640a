#include "test_support.h"

#include <gtest/gtest.h>

namespace pgoci_test {

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
