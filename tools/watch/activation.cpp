#include "tools/watch/activation.h"

namespace watch {

std::vector<ActivationFailure> ActivateAll(host::MonitorLibrary &library,
                                           const std::vector<WatchItem> &items, SampleLog &log) {
    std::vector<ActivationFailure> failures;
    for (size_t i = 0; i < items.size(); ++i) {
        char errorText[1024] = "";
        const WatchItem &item = items[i];
        if (library.ActivateMeasurement(item.valueString.c_str(), item.name.c_str(),
                                        item.logonString.c_str(), errorText, sizeof errorText,
                                        &SampleLog::OnValue, log.ContextOf(i)) != 0)
            failures.push_back({i, errorText});
    }
    return failures;
}

void DeactivateAll(host::MonitorLibrary &library, const std::vector<WatchItem> &items) {
    for (const WatchItem &item : items) {
        char ignored[256];
        library.DeActivateMeasurement(item.valueString.c_str(), item.name.c_str(), ignored,
                                      sizeof ignored);
    }
}

std::string LogonString(const std::string &server, const std::string &user,
                        const std::string &password) {
    std::string text;
    auto field = [&text](const char *key, const std::string &value) {
        text += key;
        text += std::to_string(value.size());
        text += ' ';
        text += value;
        text += ' ';
    };
    field("srvname=", server);
    field("usrname=", user);
    field("passwd=", password);
    field("LogonExtra1=", "");
    field("LogonExtra2=", "");
    field("LogonExtra3=", "");
    return text;
}

bool ParseMeasureOption(const std::string &text, std::string &name, std::string &valueString) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        return false;
    name = text.substr(0, equals);
    valueString = text.substr(equals + 1);
    return true;
}

} // namespace watch
