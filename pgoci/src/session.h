// One logged-on session: a libpq connection used by one call at a time (a mutex per
// session), re-established after the server connection broke, with every statement
// bounded in time.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include <libpq-fe.h>

#include "connect_options.h"

namespace pgoci {

struct ResultDeleter {
    void operator()(PGresult *r) const { PQclear(r); }
};
using ResultPtr = std::unique_ptr<PGresult, ResultDeleter>;

// The outcome of one exchange with the server.
struct Outcome {
    int error = 0;             // 0, or the error number
    std::string message;       // the server's (or libpq's) message, one line, scrubbed
    int errorPosition = 0;     // 1-based character position of a statement error, or 0
    ResultPtr result;          // the successful result
};

class Session {
public:
    // Logs on; the session exists also when the logon failed (it keeps the error text).
    static std::shared_ptr<Session> logOn(const std::string &user, const std::string &password,
                                          const std::string &connectString, Outcome &outcome);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Every exchange holds this lock; callers take it around a sequence of exchanges.
    std::mutex &mutex() { return mutex_; }

    // The exchanges (call with mutex() held). Each one first re-establishes a broken
    // connection; the statement that finds the connection broken fails with 3113
    // (lost during the call) or 3114 (still not connected).
    Outcome execute(const std::string &sql);
    Outcome prepareAndDescribe(const std::string &sql);

    // Ends the session; later exchanges fail with "not logged on".
    void close();

    // The last error text per error number, for oerhms.
    void noteError(int error, const std::string &text);
    bool lastErrorText(int error, std::string &text) const;

    std::string scrub(const std::string &text) const;

private:
    Session() = default;
    bool connect(Outcome &outcome);
    bool ensureConnected(Outcome &outcome);
    bool applySessionSettings(Outcome &outcome);
    Outcome await(std::chrono::steady_clock::time_point deadline);
    void fail(Outcome &outcome, PGresult *result);
    std::chrono::steady_clock::time_point deadline() const;

    std::mutex mutex_;
    PGconn *conn_ = nullptr;
    ConnectOptions options_;
    bool closed_ = false;
    long statementTimeoutMs_ = 0;
    std::chrono::steady_clock::time_point lastConnectAttempt_{};

    mutable std::mutex errorMutex_;
    std::map<int, std::string> errorTexts_;
};

} // namespace pgoci
