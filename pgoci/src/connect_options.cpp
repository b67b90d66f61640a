#include "connect_options.h"

#include <cstdlib>
#include <libpq-fe.h>

namespace pgoci {

namespace {

bool isLibpqForm(const std::string &s) {
    return s.find('=') != std::string::npos || s.rfind("postgresql://", 0) == 0 ||
           s.rfind("postgres://", 0) == 0;
}

// host[:port][/database]; an IPv6 host is written in brackets.
bool parseShortForm(const std::string &s, std::string &host, std::string &port,
                    std::string &database) {
    std::string rest = s;
    size_t slash = rest.find('/');
    if (slash != std::string::npos) {
        database = rest.substr(slash + 1);
        rest.resize(slash);
    }
    if (!rest.empty() && rest[0] == '[') {
        size_t close = rest.find(']');
        if (close == std::string::npos) return false;
        host = rest.substr(1, close - 1);
        rest = rest.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') return false;
            port = rest.substr(1);
        }
    } else {
        size_t colon = rest.find(':');
        host = rest.substr(0, colon);
        if (colon != std::string::npos) port = rest.substr(colon + 1);
    }
    for (char c : port)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string envOr(const char *name, const std::string &fallback) {
    const char *value = std::getenv(name);
    return value && *value ? value : fallback;
}

} // namespace

std::vector<const char *> ConnectOptions::keywordArray() const {
    std::vector<const char *> out;
    for (const auto &k : keywords) out.push_back(k.c_str());
    out.push_back(nullptr);
    return out;
}

std::vector<const char *> ConnectOptions::valueArray() const {
    std::vector<const char *> out;
    for (const auto &v : values) out.push_back(v.c_str());
    out.push_back(nullptr);
    return out;
}

ConnectOptions buildConnectOptions(const std::string &user, const std::string &password,
                                   const std::string &connectString) {
    ConnectOptions o;
    auto add = [&o](const char *k, const std::string &v) {
        o.keywords.emplace_back(k);
        o.values.push_back(v);
    };
    if (!password.empty()) o.secrets.push_back(password);
    // Defaults first: a libpq connect string given later overrides them.
    add("connect_timeout",
        envOr(kConnectTimeoutEnv, std::to_string(kDefaultConnectTimeoutSeconds)));
    add("application_name", "dbgauge");
    add("keepalives", "1");
    add("keepalives_idle", "30");
    add("keepalives_interval", "10");
    add("keepalives_count", "3");
    if (isLibpqForm(connectString)) {
        char *parseError = nullptr;
        PQconninfoOption *parsed = PQconninfoParse(connectString.c_str(), &parseError);
        if (!parsed) {
            o.error = parseError ? parseError : "the connect string cannot be read";
            PQfreemem(parseError);
        } else {
            for (PQconninfoOption *p = parsed; p->keyword; ++p)
                if (p->val && std::string(p->keyword) == "password") o.secrets.emplace_back(p->val);
            PQconninfoFree(parsed);
            add("dbname", connectString); // expanded by libpq
        }
    } else if (!connectString.empty()) {
        std::string host, port, database;
        if (!parseShortForm(connectString, host, port, database)) {
            o.error = "the connect string is not host[:port][/database]";
        } else {
            if (!host.empty()) add("host", host);
            if (!port.empty()) add("port", port);
            if (!database.empty()) add("dbname", database);
        }
    }
    if (!user.empty()) add("user", user);
    if (!password.empty()) add("password", password);
    return o;
}

long statementTimeoutMillis() {
    const char *value = std::getenv(kStatementTimeoutEnv);
    double seconds = kDefaultStatementTimeoutSeconds;
    if (value && *value) {
        char *end = nullptr;
        double parsed = std::strtod(value, &end);
        if (end != value && parsed >= 0) seconds = parsed;
    }
    return static_cast<long>(seconds * 1000.0 + 0.5);
}

} // namespace pgoci
