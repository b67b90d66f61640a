// The cache of open database sessions: one verified session per distinct
// (user, password, server). Owned by MonitorState. Host threads may look sessions up at
// the same time (two threads activating measurements): the map is guarded by a mutex,
// held across a logon so that one key never gets two sessions. The sampling thread uses
// the connections its measurements hold, which stay valid until CloseAllConnections
// (after that thread has been stopped).
#pragma once

#include "oracle/oracle_connection.h"

#include <map>
#include <memory>
#include <mutex>
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

    size_t size() const {
        std::lock_guard guard(mutex_);
        return connections_.size();
    }

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::unique_ptr<OracleConnection>> connections_;
};
