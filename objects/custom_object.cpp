#include "objects/custom_object.h"

#include "oracle/client_binding.h"
#include "oracle/cursor.h"
#include "oracle/oracle_connection.h"
#include "support/config_file.h"
#include "support/errors.h"
#include "support/message_ids.h"
#include "support/message_text.h"

#include <cstdio>
#include <vector>

namespace {

constexpr size_t kNameLimit = 512;
constexpr size_t kTestTextLimit = 1024;
constexpr size_t kTestMessageSize = 2056;
constexpr int kClientErrorSize = 1124;

std::string SectionName(int j) {
    char section[512];
    std::snprintf(section, sizeof section, "Custom%d", j);
    return section;
}

std::string ReadValue(ConfigStore *store, const std::string &section, const char *key,
                      size_t limit) {
    std::vector<char> value(limit + 1, '\0');
    ReadConfigString(store, key, section.c_str(), value.data(), value.size(), "");
    return value.data();
}

// Formats catalogue message id with its arguments and reports it; returns false, the
// result of a refused test.
template <typename... Args> bool Refuse(int id, Args... args) {
    char text[kTestMessageSize];
    FormatCatalogueMessage(text, sizeof text, id, args...);
    ReportError(text);
    return false;
}

} // namespace

int CCUSTOMInfo::SectionCount() const {
    return ReadConfigInt(Store(), "CustomCounters", kMonitorSection, 0);
}

bool CCUSTOMInfo::FindQuery(const std::string &counter, size_t limit, std::string &query) const {
    const int m = SectionCount();
    for (int j = 0; j < m; ++j) {
        const std::string section = SectionName(j);
        if (ReadValue(Store(), section, "Name", limit) == counter) {
            query = ReadValue(Store(), section, "Query", limit);
            return true;
        }
    }
    return false;
}

void CCUSTOMInfo::LoadCounters() {
    std::vector<std::string> names;
    const int m = SectionCount();
    for (int j = 0; j < m; ++j)
        names.push_back(ReadValue(Store(), SectionName(j), "Name", kNameLimit));
    SetCounters(std::move(names));
}

void CCUSTOMInfo::LoadInstances() {
    char name[kMessageBufferSize];
    FormatCatalogueMessage(name, sizeof name, msg::kCustomInstanceName);
    SetInstances({name});
}

std::string CCUSTOMInfo::GetValueQuery(const std::string &counter, const std::string &) {
    Counters(); // the lazy-loading contract: slot 0 loads the counters when needed
    std::string query;
    return FindQuery(counter, kNameLimit, query) ? query : "ERROR";
}

bool CCUSTOMInfo::CanMeasure(const std::string &counter, const std::string &) {
    std::string query;
    if (!FindQuery(counter, kTestTextLimit, query)) {
        const std::string text = "Custom counter \"" + counter +
                                 "\" is not configured: no Custom section of dbgauge.cfg has "
                                 "this Name.";
        ReportError(text.c_str());
        return false;
    }
    OracleConnection *connection = ConnectionInUse();
    if (connection == nullptr) {
        const std::string text = "Custom counter \"" + counter +
                                 "\" cannot be tested: no database session is in use (log on "
                                 "with SetLoginInfo first).";
        ReportError(text.c_str());
        return false;
    }
    const char *name = counter.c_str();
    const char *statement = query.c_str();
    // The cursor is closed when this scope ends, whichever way the test ends.
    Cursor cursor(connection->logonArea());
    gFuncs.my_oparse(cursor.area(), statement, -1, 0, 1);
    if (cursor.rc() != 0) {
        char clientText[kClientErrorSize] = "";
        gFuncs.my_oerhms(connection->logonArea(), cursor.rc(), clientText, sizeof clientText);
        char offset[16];
        std::snprintf(offset, sizeof offset, "%u", static_cast<unsigned>(cursor.parseErrorOffset()));
        return Refuse(msg::kCustomQueryParse, name, statement, offset,
                      static_cast<const char *>(clientText));
    }
    if (cursor.functionCode() != OCI_FUNCTION_SELECT)
        return Refuse(msg::kCustomQueryNotSelect, name, statement);

    int32_t size = 0;
    int16_t type = 0;
    gFuncs.my_odescr(cursor.area(), 2, &size, &type, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    if (cursor.rc() != OCI_RC_BEYOND_SELECT_LIST)
        return Refuse(msg::kCustomQueryColumns, name, statement);

    gFuncs.my_odescr(cursor.area(), 1, &size, &type, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    if (type != OCI_TYPE_NUMBER) {
        char code[16];
        std::snprintf(code, sizeof code, "%d", static_cast<int>(type));
        return Refuse(msg::kCustomQueryNotNumber, name, statement, static_cast<const char *>(code));
    }

    int32_t value = 0;
    int16_t indicator = 0;
    gFuncs.my_odefin(cursor.area(), 1, &value, 4, OCI_EXT_INTEGER, 0, &indicator, nullptr, -1, -1,
                     nullptr, nullptr);
    gFuncs.my_oexfet(cursor.area(), 1, 0, 1);
    if (cursor.rc() == OCI_RC_NO_ROW)
        return Refuse(msg::kCustomQueryNoRow, name, statement);
    if (cursor.rc() == OCI_RC_TOO_MANY_ROWS)
        return Refuse(msg::kCustomQueryManyRows, name, statement);
    return true;
}
