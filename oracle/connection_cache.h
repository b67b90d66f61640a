// The cache of open database sessions: one verified session per distinct
// (user, password, server). Owned by MonitorState and used on the host's thread only;
// the sampling thread uses the connections its measurements hold, which stay valid
// until CloseAllConnections (after that thread has been stopped).
#pragma once

#include "oracle/oracle_connection.h"

#include <map>
#include <memory>
#include <string>

class ConnectionCache {
public:
    ConnectionCache() = default;
    ~ConnectionCache() { CloseAllConnections(); }
    ConnectionCache(const ConnectionCache &) = delete;
    ConnectionCache &operator=(const ConnectionCache &) = delete;

    // The cached session for the three texts, or a newly opened and verified one. On
    // failure returns null with error holding the message; nothing is cached, so a later
    // call tries again. A cache hit leaves error untouched; a new session empties it.
    OracleConnection *GetOracleConnection(const char *user, const char *password,
                                          const char *server, std::string &error);

    // Logs every session off, in key order, and empties the cache.
    void CloseAllConnections();

    size_t size() const { return connections_.size(); }

private:
    std::map<std::string, std::unique_ptr<OracleConnection>> connections_;
};
