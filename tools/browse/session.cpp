#include "tools/browse/session.h"

#include <cstring>
#include <fstream>

namespace browse {

void HostCallback(char *, uintptr_t hostValue) {
    auto *work = reinterpret_cast<BrowseWork *>(hostValue);
    if (work == nullptr || work->exports == nullptr)
        return;
    if (work->exports->SetLoginInfo(work->logon.user.c_str(), work->logon.password.c_str(),
                                    work->logon.server.c_str(), "", "", "") != 0)
        return; // BrowseMonitor reports the logon error
    if (work->work)
        work->work();
}

BrowseOutcome RunBrowse(const host::BrowseExports &exports, const std::string &logonString) {
    BrowseOutcome outcome;
    char message[1024] = "";
    BrowseRecord *records = nullptr;
    int count = 0;
    outcome.result = exports.BrowseMonitor(0, logonString.c_str(), &records, &count, message);
    outcome.message.assign(message, strnlen(message, sizeof message));
    for (int i = 0; outcome.result == 0 && records != nullptr && i < count; ++i) {
        const BrowseRecord &record = records[i];
        outcome.records.push_back(
            {std::string(record.valueString, strnlen(record.valueString, sizeof record.valueString)),
             std::string(record.presentationName,
                         strnlen(record.presentationName, sizeof record.presentationName)),
             std::string(record.connectionLogon,
                         strnlen(record.connectionLogon, sizeof record.connectionLogon)),
             record.isRate != 0});
    }
    std::free(records);
    return outcome;
}

bool ParsePick(const std::string &text, std::string &object, std::string &counter,
               std::string &instance) {
    const size_t first = text.find('/');
    if (first == std::string::npos || first == 0)
        return false;
    const size_t second = text.find('/', first + 1);
    if (second == std::string::npos || second == first + 1)
        return false;
    object = text.substr(0, first);
    counter = text.substr(first + 1, second - first - 1);
    instance = text.substr(second + 1);
    return true;
}

bool ReadPickFile(const std::string &path, std::vector<std::string> &picks, std::string &error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        picks.push_back(line);
    }
    return true;
}

} // namespace browse
