#include "oracle/connection_cache.h"

OracleConnection *ConnectionCache::GetOracleConnection(const char *user, const char *password,
                                                       const char *server, std::string &error) {
    std::string key = std::string(user) + "/" + password + "@" + server;
    std::lock_guard guard(mutex_);
    if (auto found = connections_.find(key); found != connections_.end())
        return found->second.get();

    auto connection = std::make_unique<OracleConnection>(user, password, server);
    connection->OracleConnect(error);
    if (!error.empty()) return nullptr; // logged off as it goes out of scope
    OracleConnection *opened = connection.get();
    connections_.emplace(std::move(key), std::move(connection));
    return opened;
}

void ConnectionCache::CloseAllConnections() {
    std::lock_guard guard(mutex_);
    connections_.clear();
}
