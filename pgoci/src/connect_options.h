// The libpq parameters of a logon: the connect string (host[:port][/database], a libpq
// connection string or URI, or empty for libpq's defaults), user, password, and the
// client's defaults (connect time-out, application_name).
#pragma once

#include <string>
#include <vector>

namespace pgoci {

// Defaults, overridable by the environment (seconds).
constexpr int kDefaultConnectTimeoutSeconds = 10;
constexpr double kDefaultStatementTimeoutSeconds = 60;
constexpr const char *kConnectTimeoutEnv = "PGOCI_CONNECT_TIMEOUT";
constexpr const char *kStatementTimeoutEnv = "PGOCI_STATEMENT_TIMEOUT";

struct ConnectOptions {
    std::vector<std::string> keywords;
    std::vector<std::string> values;
    std::vector<std::string> secrets; // passwords to keep out of every error text
    std::string error;                // a connect string that cannot be read

    // Null-terminated arrays for PQconnectdbParams (valid while this object lives).
    std::vector<const char *> keywordArray() const;
    std::vector<const char *> valueArray() const;
};

ConnectOptions buildConnectOptions(const std::string &user, const std::string &password,
                                   const std::string &connectString);

// The statement time-out in milliseconds: PGOCI_STATEMENT_TIMEOUT (seconds, fractions
// allowed, 0 disables) or the default.
long statementTimeoutMillis();

} // namespace pgoci
