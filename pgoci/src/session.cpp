#include "session.h"

#include <cerrno>
#include <cstdlib>
#include <poll.h>

#include "errors.h"

namespace pgoci {

namespace {

using Clock = std::chrono::steady_clock;

// After a failed reconnection, the next attempt waits this long.
constexpr auto kReconnectBackoff = std::chrono::milliseconds(1000);
// How long a statement may run past the server's own time-out before the client gives
// up on the connection (the server normally cancels it first).
constexpr auto kClientGrace = std::chrono::seconds(5);

// Reads a time setting as the server shows it ("30s", "500ms", "1min", "0") in ms.
long settingMillis(const char *text) {
    char *end = nullptr;
    double value = std::strtod(text, &end);
    std::string unit = end ? end : "";
    if (unit == "s") value *= 1000;
    else if (unit == "min") value *= 60000;
    else if (unit == "h") value *= 3600000;
    else if (unit == "d") value *= 86400000;
    else if (unit == "us") value /= 1000;
    return static_cast<long>(value);
}

} // namespace

std::shared_ptr<Session> Session::logOn(const std::string &user, const std::string &password,
                                        const std::string &connectString, Outcome &outcome) {
    std::shared_ptr<Session> session(new Session);
    session->options_ = buildConnectOptions(user, password, connectString);
    std::lock_guard lock(session->mutex_);
    if (!session->options_.error.empty()) {
        outcome.error = kUnresolvedIdentifier;
        outcome.message = session->scrub(oneLine(session->options_.error));
    } else {
        session->connect(outcome);
    }
    if (outcome.error) session->noteError(outcome.error, errorText(outcome.error, outcome.message));
    return session;
}

Session::~Session() {
    if (conn_) PQfinish(conn_);
}

std::string Session::scrub(const std::string &text) const {
    return scrubSecrets(text, options_.secrets);
}

bool Session::connect(Outcome &outcome) {
    lastConnectAttempt_ = Clock::now();
    if (conn_) PQfinish(conn_);
    auto keywords = options_.keywordArray();
    auto values = options_.valueArray();
    conn_ = PQconnectdbParams(keywords.data(), values.data(), 1);
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        std::string message = conn_ ? PQerrorMessage(conn_) : "out of memory";
        outcome.error = errorForConnectFailure(message);
        outcome.message = scrub(oneLine(message));
        if (conn_) PQfinish(conn_);
        conn_ = nullptr;
        return false;
    }
    return applySessionSettings(outcome);
}

// The search path puts the dbgauge schema after the role's own schema, so the views
// resolve unqualified and a role can shadow them. The statement time-out applies unless
// the session already has one (connect string options, role or database settings).
bool Session::applySessionSettings(Outcome &outcome) {
    static const char *kSql =
        "SELECT pg_catalog.set_config('search_path', '\"$user\", dbgauge, public', false), "
        "pg_catalog.set_config('statement_timeout', CASE "
        "WHEN pg_catalog.current_setting('statement_timeout') = '0' THEN $1 "
        "ELSE pg_catalog.current_setting('statement_timeout') END, false)";
    std::string timeout = std::to_string(statementTimeoutMillis());
    const char *params[] = {timeout.c_str()};
    if (!PQsendQueryParams(conn_, kSql, 1, nullptr, params, nullptr, nullptr, 0)) {
        fail(outcome, nullptr);
        return false;
    }
    statementTimeoutMs_ = statementTimeoutMillis();
    Outcome setup = await(deadline());
    if (setup.error) {
        outcome = std::move(setup);
        return false;
    }
    statementTimeoutMs_ = settingMillis(PQgetvalue(setup.result.get(), 0, 1));
    return true;
}

Clock::time_point Session::deadline() const {
    if (statementTimeoutMs_ <= 0) return Clock::time_point::max();
    return Clock::now() + std::chrono::milliseconds(statementTimeoutMs_) + kClientGrace;
}

bool Session::ensureConnected(Outcome &outcome) {
    if (closed_) {
        outcome.error = kNotLoggedOn;
        return false;
    }
    if (conn_ && PQstatus(conn_) == CONNECTION_OK) return true;
    if (Clock::now() - lastConnectAttempt_ < kReconnectBackoff) {
        outcome.error = kNotConnected;
        outcome.message = "the connection to the server is broken";
        return false;
    }
    if (connect(outcome)) return true;
    std::string cause = outcome.message;
    outcome.error = kNotConnected;
    outcome.message = "reconnecting failed: " + cause;
    return false;
}

void Session::fail(Outcome &outcome, PGresult *result) {
    if (conn_ && PQstatus(conn_) == CONNECTION_BAD) {
        outcome.error = kEndOfChannel;
        outcome.message = scrub(oneLine(PQerrorMessage(conn_)));
        return;
    }
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    if (state) {
        outcome.error = errorForSqlState(state);
        const char *primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
        outcome.message = scrub(oneLine(primary ? primary : PQresultErrorMessage(result)));
        const char *position = PQresultErrorField(result, PG_DIAG_STATEMENT_POSITION);
        outcome.errorPosition = position ? std::atoi(position) : 0;
    } else {
        outcome.error = kServerError;
        outcome.message = scrub(oneLine(result ? PQresultErrorMessage(result)
                                               : PQerrorMessage(conn_)));
    }
    if (outcome.message.empty()) outcome.message = "unknown failure";
}

// Waits for the results of the exchange in flight. At the deadline the statement is
// cancelled; if the server does not answer the cancel either, the connection is
// dropped (and re-established by the next statement).
Outcome Session::await(Clock::time_point deadline) {
    Outcome outcome;
    bool cancelSent = false;
    while (PQisBusy(conn_)) {
        auto now = Clock::now();
        int waitMs = -1;
        if (deadline != Clock::time_point::max()) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
            waitMs = left.count() > 0 ? static_cast<int>(std::min<long>(left.count(), 1000000)) : 0;
        }
        pollfd pfd{PQsocket(conn_), POLLIN, 0};
        int ready = waitMs == 0 ? 0 : poll(&pfd, 1, waitMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            if (!cancelSent) {
                if (PGcancel *cancel = PQgetCancel(conn_)) {
                    char ignored[256];
                    PQcancel(cancel, ignored, sizeof ignored);
                    PQfreeCancel(cancel);
                }
                cancelSent = true;
                deadline = Clock::now() + kClientGrace;
                continue;
            }
            PQfinish(conn_);
            conn_ = nullptr;
            outcome.error = kCancelled;
            outcome.message = "the server did not answer within the statement time-out; "
                              "the connection was dropped";
            return outcome;
        }
        if (!PQconsumeInput(conn_)) break;
    }
    // Collect every result; keep the first error, else the last result.
    ResultPtr last;
    bool failed = false;
    while (PGresult *r = PQgetResult(conn_)) {
        ResultPtr result(r);
        ExecStatusType status = PQresultStatus(r);
        if (!failed && status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK &&
            status != PGRES_EMPTY_QUERY) {
            fail(outcome, r);
            failed = true;
        }
        last = std::move(result);
        if (PQstatus(conn_) == CONNECTION_BAD) break;
    }
    if (!failed && PQstatus(conn_) == CONNECTION_BAD) fail(outcome, nullptr);
    else if (!failed && !last) fail(outcome, nullptr);
    if (!outcome.error) outcome.result = std::move(last);
    return outcome;
}

Outcome Session::execute(const std::string &sql) {
    Outcome outcome;
    if (!ensureConnected(outcome)) return outcome;
    if (!PQsendQueryParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0)) {
        fail(outcome, nullptr);
        return outcome;
    }
    return await(deadline());
}

Outcome Session::prepareAndDescribe(const std::string &sql) {
    Outcome outcome;
    if (!ensureConnected(outcome)) return outcome;
    if (!PQsendPrepare(conn_, "", sql.c_str(), 0, nullptr)) {
        fail(outcome, nullptr);
        return outcome;
    }
    outcome = await(deadline());
    if (outcome.error) return outcome;
    if (!PQsendDescribePrepared(conn_, "")) {
        fail(outcome, nullptr);
        return outcome;
    }
    return await(deadline());
}

void Session::close() {
    closed_ = true;
    if (conn_) PQfinish(conn_);
    conn_ = nullptr;
}

void Session::noteError(int error, const std::string &text) {
    std::lock_guard lock(errorMutex_);
    errorTexts_[error] = text;
}

bool Session::lastErrorText(int error, std::string &text) const {
    std::lock_guard lock(errorMutex_);
    auto it = errorTexts_.find(error);
    if (it == errorTexts_.end()) return false;
    text = it->second;
    return true;
}

} // namespace pgoci
