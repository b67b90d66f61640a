// The statistics objects: "V$SYSSTAT" (system-wide statistics, instances from
// V$INSTANCE) and "V$SESSTAT" (per-session statistics, instances from V$SESSION). Both
// take their counters from V$STATNAME; a counter's statistic number is its position in
// that list.
#pragma once

#include "objects/object_info.h"

class CVSYSSTATInfo : public CObjectInfo {
public:
    explicit CVSYSSTATInfo(const ObjectSources &sources) : CObjectInfo("V$SYSSTAT", sources) {}
    // "SELECT VALUE FROM V$SYSSTAT WHERE STATISTIC# = n"; the instance is not used.
    std::string GetValueQuery(const std::string &counter, const std::string &instance) override;
    void LoadCounters() override;
    void LoadInstances() override;
};

class CVSESSTATInfo : public CObjectInfo {
public:
    explicit CVSESSTATInfo(const ObjectSources &sources) : CObjectInfo("V$SESSTAT", sources) {}
    // "SELECT VALUE FROM V$SESSTAT WHERE STATISTIC# = n AND SID = s", s being the SID of
    // the instance name (SessionIdText).
    std::string GetValueQuery(const std::string &counter, const std::string &instance) override;
    void LoadCounters() override;
    void LoadInstances() override;
};

// The SID text of a session instance name: the part before its first "/" when that is a
// decimal integer (an optional "-" and 1 to 10 digits), otherwise "-1". Nothing else of
// an instance name ever reaches a statement.
std::string SessionIdText(const std::string &instance);

// The loaders. Each reads its list with one count query (the names also with a width
// query) and one array fetch through the connection; without a connection, or with a
// count below 1, the list is empty.
std::vector<std::string> LoadStatisticNames(OracleConnection *connection);
std::vector<std::string> LoadDatabaseInstances(OracleConnection *connection);
std::vector<std::string> LoadSessionInstances(OracleConnection *connection);
