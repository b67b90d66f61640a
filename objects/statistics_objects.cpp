#include "objects/statistics_objects.h"

#include "oracle/client_binding.h"
#include "oracle/cursor.h"
#include "oracle/oracle_connection.h"
#include "oracle/queries.h"
#include "support/trace.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kInstanceNameBuffer = 512;
constexpr int kDatabaseNameWidth = 16;
constexpr int kUserWidth = 32;
constexpr int kTerminalWidth = 16;
constexpr int kProgramWidth = 64;

const char *const kSessionFilter = "FROM V$SESSION WHERE (paddr in (select addr from v$process))";

// Runs the parsed statement of cursor for up to rows rows in one array fetch, traces the
// outcome and returns how many rows were delivered (never more than rows).
size_t FetchRows(Cursor &cursor, const char *statement, int rows) {
    const int rc = gFuncs.my_oexfet(cursor.area(), static_cast<unsigned>(rows), 0, 0);
    TracePrint("fetch query=%s rc=%ld\n", statement, static_cast<long>(rc));
    return std::min<size_t>(cursor.rowsProcessed(), static_cast<size_t>(rows));
}

// A fixed-width text of an array fetch, read only up to its width.
std::string FieldText(const char *field, size_t width) {
    return std::string(field, strnlen(field, width));
}

} // namespace

std::string SessionIdText(const std::string &instance) {
    const size_t slash = instance.find('/');
    if (slash == std::string::npos)
        return "-1";
    const std::string sid = instance.substr(0, slash);
    const size_t digitsStart = !sid.empty() && sid[0] == '-' ? 1 : 0;
    const size_t digits = sid.size() - digitsStart;
    if (digits < 1 || digits > 10)
        return "-1";
    for (size_t i = digitsStart; i < sid.size(); ++i) {
        if (sid[i] < '0' || sid[i] > '9')
            return "-1";
    }
    return sid;
}

std::vector<std::string> LoadStatisticNames(OracleConnection *connection) {
    std::vector<std::string> names;
    if (connection == nullptr)
        return names;
    const int n = SingleIntQuery(*connection, "SELECT COUNT(*) FROM V$STATNAME");
    const int w =
        SingleIntQuery(*connection, "SELECT MAX(NVL(LENGTH(NAME) + 1, 1)) FROM V$STATNAME");
    if (n < 1 || w < 1)
        return names;
    std::vector<char> nameArray(static_cast<size_t>(n) * static_cast<size_t>(w), '\0');
    std::vector<int16_t> indicators(static_cast<size_t>(n), 0);
    std::vector<uint16_t> lengths(static_cast<size_t>(n), 0);
    const char *statement = "SELECT NAME FROM V$STATNAME";
    size_t rows = 0;
    {
        Cursor cursor(connection->logonArea());
        gFuncs.my_oparse(cursor.area(), statement, -1, 1, 1);
        gFuncs.my_odefin(cursor.area(), 1, nameArray.data(), w, OCI_EXT_STRING, 0,
                         indicators.data(), nullptr, -1, -1, lengths.data(), nullptr);
        rows = FetchRows(cursor, statement, n);
    }
    names.reserve(rows);
    for (size_t i = 0; i < rows; ++i)
        names.push_back(FieldText(&nameArray[i * static_cast<size_t>(w)], static_cast<size_t>(w)));
    return names;
}

std::vector<std::string> LoadDatabaseInstances(OracleConnection *connection) {
    std::vector<std::string> instances;
    if (connection == nullptr)
        return instances;
    const int n = SingleIntQuery(*connection, "SELECT COUNT(*) FROM V$INSTANCE");
    if (n < 1)
        return instances;
    const size_t count = static_cast<size_t>(n);
    std::vector<int32_t> numbers(count, 0);
    std::vector<char> names(count * kDatabaseNameWidth, '\0');
    const char *statement =
        "SELECT INSTANCE_NUMBER, NVL(INSTANCE_NAME, '[NULL]') FROM V$INSTANCE";
    size_t rows = 0;
    {
        Cursor cursor(connection->logonArea());
        gFuncs.my_oparse(cursor.area(), statement, -1, 1, 1);
        gFuncs.my_odefin(cursor.area(), 1, numbers.data(), 4, OCI_EXT_INTEGER, 0, nullptr,
                         nullptr, -1, -1, nullptr, nullptr);
        gFuncs.my_odefin(cursor.area(), 2, names.data(), kDatabaseNameWidth, OCI_EXT_STRING, 0,
                         nullptr, nullptr, -1, -1, nullptr, nullptr);
        rows = FetchRows(cursor, statement, n);
    }
    char text[kInstanceNameBuffer];
    for (size_t i = 0; i < rows; ++i) {
        const std::string name = FieldText(&names[i * kDatabaseNameWidth], kDatabaseNameWidth);
        std::snprintf(text, sizeof text, "%d/%s", numbers[i], name.c_str());
        instances.emplace_back(text);
    }
    return instances;
}

std::vector<std::string> LoadSessionInstances(OracleConnection *connection) {
    std::vector<std::string> instances;
    if (connection == nullptr)
        return instances;
    const int n = SingleIntQuery(*connection, (std::string("SELECT COUNT(*) ") + kSessionFilter).c_str());
    if (n < 1)
        return instances;
    const size_t count = static_cast<size_t>(n);
    std::vector<int32_t> sids(count, 0);
    std::vector<char> users(count * kUserWidth, '\0');
    std::vector<char> terminals(count * kTerminalWidth, '\0');
    std::vector<char> programs(count * kProgramWidth, '\0');
    const std::string statement =
        std::string("SELECT SID, NVL(USERNAME, '[SYS]'), NVL(TERMINAL, '[SYSTEM]'), "
                    "NVL(PROGRAM, '[NULL]') ") +
        kSessionFilter;
    size_t rows = 0;
    {
        Cursor cursor(connection->logonArea());
        gFuncs.my_oparse(cursor.area(), statement.c_str(), -1, 1, 1);
        gFuncs.my_odefin(cursor.area(), 1, sids.data(), 4, OCI_EXT_INTEGER, 0, nullptr, nullptr,
                         -1, -1, nullptr, nullptr);
        gFuncs.my_odefin(cursor.area(), 2, users.data(), kUserWidth, OCI_EXT_STRING, 0, nullptr,
                         nullptr, -1, -1, nullptr, nullptr);
        gFuncs.my_odefin(cursor.area(), 3, terminals.data(), kTerminalWidth, OCI_EXT_STRING, 0,
                         nullptr, nullptr, -1, -1, nullptr, nullptr);
        gFuncs.my_odefin(cursor.area(), 4, programs.data(), kProgramWidth, OCI_EXT_STRING, 0,
                         nullptr, nullptr, -1, -1, nullptr, nullptr);
        rows = FetchRows(cursor, statement.c_str(), n);
    }
    char text[kInstanceNameBuffer];
    for (size_t i = 0; i < rows; ++i) {
        const std::string user = FieldText(&users[i * kUserWidth], kUserWidth);
        const std::string terminal = FieldText(&terminals[i * kTerminalWidth], kTerminalWidth);
        const std::string program = FieldText(&programs[i * kProgramWidth], kProgramWidth);
        std::snprintf(text, sizeof text, "%d/%s/%s/%s", sids[i], user.c_str(), terminal.c_str(),
                      program.c_str());
        instances.emplace_back(text);
    }
    return instances;
}

std::string CVSYSSTATInfo::GetValueQuery(const std::string &counter, const std::string &) {
    char statement[512];
    std::snprintf(statement, sizeof statement,
                  "SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = %zu", CounterPosition(counter));
    return statement;
}

void CVSYSSTATInfo::LoadCounters() { SetCounters(LoadStatisticNames(ConnectionInUse())); }

void CVSYSSTATInfo::LoadInstances() { SetInstances(LoadDatabaseInstances(ConnectionInUse())); }

std::string CVSESSTATInfo::GetValueQuery(const std::string &counter, const std::string &instance) {
    std::string statement = "SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = ";
    statement += std::to_string(CounterPosition(counter));
    statement += " AND SID = ";
    statement += SessionIdText(instance);
    return statement;
}

void CVSESSTATInfo::LoadCounters() { SetCounters(LoadStatisticNames(ConnectionInUse())); }

void CVSESSTATInfo::LoadInstances() { SetInstances(LoadSessionInstances(ConnectionInUse())); }
