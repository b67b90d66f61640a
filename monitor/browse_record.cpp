#include "monitor/browse_record.h"

#include "monitor/browse_state.h"
#include "oracle/logon_string.h"
#include "oracle/oracle_connection.h"
#include "support/config_file.h"
#include "support/message_ids.h"
#include "support/message_text.h"

#include <cstring>

namespace {

template <size_t N> void CopyField(char (&field)[N], const std::string &text) {
    CopyBounded(field, text.c_str(), static_cast<long long>(N));
}

} // namespace

std::string PresentationName(const std::string &object, const std::string &counter,
                             const std::string &instance) {
    const std::string joined = counter + " (" + object + " " + instance + ")";
    char name[512];
    FormatCatalogueMessage(name, sizeof name,
                           IsRateCounter(counter) ? msg::kRatePresentationName
                                                  : msg::kValuePresentationName,
                           joined.c_str());
    return name;
}

std::string DescriptionOf(const std::string &counter) {
    if (auto description = CounterDescription(counter))
        return *description;
    char *buffer = DescriptionBuffer();
    FormatCatalogueMessage(buffer, static_cast<int>(kMessageBufferSize), msg::kDefaultDescription);
    return buffer;
}

void BuildBrowseRecord(BrowseRecord &record, const std::string &key, const BrowseState &browse,
                       const ObjectList &objects) {
    const PickedMeasurement pick = DecodePickKey(key);
    record.isRate = IsRateCounter(pick.counter) ? 1 : 0;
    BuildValueString(objects, pick.object.c_str(), pick.counter.c_str(), pick.instance.c_str(),
                     record.valueString, sizeof record.valueString - 1);
    CopyField(record.presentationName, PresentationName(pick.object, pick.counter, pick.instance));
    CopyField(record.description, DescriptionOf(pick.counter));
    CopyField(record.logonString, browse.logonString);
    if (const OracleConnection *connection = browse.connectionInUse) {
        char logon[kLogonStringMax + 1];
        BuildLogonString(logon, connection->user().c_str(), connection->server().c_str(),
                         connection->password().c_str());
        CopyField(record.connectionLogon, logon);
    } else {
        record.connectionLogon[0] = '\0';
    }
    record.three = 3;
}
