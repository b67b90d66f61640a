#include "oracle/queries.h"

#include "oracle/cursor.h"
#include "oracle/oracle_connection.h"
#include "support/message_ids.h"
#include "support/message_text.h"
#include "support/trace.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kValueTextSize = 30;

// Reads a leading decimal number as the C library's text-to-number conversion does
// (blanks skipped, stops at the first character that cannot continue the number, 0.0
// when there is none), but always with "." as the decimal point, whatever the host
// process set its locale to.
double LeadingNumber(const char *text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    if (*text == '+' && text[1] != '-' && text[1] != '+') ++text;
    double value = 0.0;
    const char *end = text + std::strlen(text);
    if (std::from_chars(text, end, value).ec != std::errc()) return 0.0;
    return value;
}

} // namespace

int SingleIntQuery(OracleConnection &connection, const char *statement) {
    int32_t result = -1;
    int16_t indicator = 0;
    TraceEnter("SingleIntQuery", nullptr);
    int defineResult = 0;
    int fetchResult = 0;
    {
        Cursor cursor(connection.logonArea());
        gFuncs.my_oparse(cursor.area(), statement, -1, 1, 1);
        defineResult = gFuncs.my_odefin(cursor.area(), 1, &result, sizeof result,
                                        OCI_EXT_INTEGER, 0, &indicator, nullptr, -1, -1,
                                        nullptr, nullptr);
        fetchResult = gFuncs.my_oexfet(cursor.area(), 1, 0, 0);
        TracePrint("gFuncs.my_odefin=%ld gFuncs.my_oexfet=%ld\n", static_cast<long>(defineResult),
                   static_cast<long>(fetchResult));
        // A NULL value must not count as a value, whatever the client left in the buffer.
        if (indicator == -1) result = -1;
    }
    TraceLeave("SingleIntQuery", "count=%ld query='%s'\n", static_cast<long>(result), statement);
    return result;
}

double GetQueryValue(OracleConnection &connection, char *errorBuffer, const char *statement) {
    char valueText[kValueTextSize] = "2.2";
    int16_t indicator = 0;
    TraceEnter("GetQueryValue", nullptr);
    {
        Cursor cursor(connection.logonArea());
        gFuncs.my_oparse(cursor.area(), statement, -1, 1, 1);
        gFuncs.my_odefin(cursor.area(), 1, valueText, kValueTextSize, OCI_EXT_STRING, 0,
                         &indicator, nullptr, -1, -1, nullptr, nullptr);
        const long defineRc = cursor.rc();
        gFuncs.my_oexfet(cursor.area(), 1, 0, 0);
        const long fetchRc = cursor.rc();
        if (fetchRc != 0) {
            gFuncs.my_oerhms(connection.logonArea(), static_cast<int>(fetchRc), errorBuffer,
                             static_cast<int>(kQueryErrorSize));
            errorBuffer[kQueryErrorSize - 1] = '\0';
        } else if (indicator == -1) {
            FormatCatalogueMessage(errorBuffer, static_cast<int>(kQueryErrorSize),
                                   msg::kValueIsNull);
        }
        TracePrint("gFuncs.my_odefin=%ld gFuncs.my_oexfet=%ld\n", defineRc, fetchRc);
    }
    valueText[kValueTextSize - 1] = '\0';
    const double value = LeadingNumber(valueText);
    TraceLeave("GetQueryValue", "count=%g query='%s'\n", value, statement);
    return value;
}
