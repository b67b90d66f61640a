#include "oracle/oracle_connection.h"

#include "oracle/client_binding.h"
#include "oracle/cursor.h"
#include "support/message_ids.h"
#include "support/message_text.h"
#include "support/trace.h"

#include <cstring>
#include <string>
#include <utility>

namespace {

// The views the monitor samples and lists, in the order they are checked.
const char *const kRequiredViews[] = {"V$SYSSTAT",  "V$SESSTAT", "V$STATNAME",
                                      "V$INSTANCE", "V$SESSION", "V$PROCESS"};

constexpr int kClientTextSize = 1024;

} // namespace

OracleConnection::OracleConnection(std::string user, std::string password, std::string server)
    : user_(std::move(user)), password_(std::move(password)), server_(std::move(server)) {
    std::memset(hostArea_, 0, sizeof hostArea_);
    std::memset(&logonArea_, 0, sizeof logonArea_);
}

OracleConnection::~OracleConnection() { gFuncs.my_ologof(&logonArea_); }

void OracleConnection::OracleConnect(std::string &error) {
    // The password never reaches the trace: it is written masked.
    TraceEnter("OracleConnect", "user=%s passw=%s server=%s\n", user_.c_str(),
               password_.empty() ? "" : "********", server_.c_str());
    std::memset(hostArea_, 0, sizeof hostArea_);
    const int result = gFuncs.my_olog(&logonArea_, hostArea_, user_.c_str(), -1,
                                      password_.c_str(), -1, server_.c_str(), -1, 0);
    TracePrint("gFuncs.my_olog: rc=%ld\n", static_cast<long>(result));
    if (result != 0) {
        char clientText[kClientTextSize] = "";
        gFuncs.my_oerhms(&logonArea_, logonArea_.rc, clientText, kClientTextSize);
        FormatCatalogueMessage(MessageBuffer(), static_cast<int>(kMessageBufferSize),
                               msg::kLogonFailed, clientText);
        error = MessageBuffer();
        return;
    }
    VerifyTables(error);
}

void OracleConnection::VerifyTables(std::string &error) {
    Cursor cursor(&logonArea_);
    std::string missing;
    for (const char *view : kRequiredViews) {
        if (!DoesTableExist(cursor.area(), view)) {
            missing += ' ';
            missing += view;
        }
    }
    if (missing.empty()) {
        error.clear();
        return;
    }
    FormatCatalogueMessage(MessageBuffer(), static_cast<int>(kMessageBufferSize),
                           msg::kViewsInaccessible, missing.c_str());
    error = MessageBuffer();
}

bool DoesTableExist(OciDataArea *cursor, const char *table) {
    TraceEnter("DoesTableExist", nullptr);
    const std::string statement = std::string("SELECT * FROM ") + table;
    const int result = gFuncs.my_oparse(cursor, statement.c_str(), -1, 0, 1);
    TraceLeave("DoesTableExist", "rc=%ld, table=%s\n", static_cast<long>(result), table);
    return result == 0;
}
