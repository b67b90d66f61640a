// Error numbers and texts in the classic client's style, mapped from PostgreSQL's
// SQLSTATE codes and libpq's connection failures.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pgoci {

// Error numbers this client reports (the data area's rc).
enum OraError : int {
    kOk = 0,
    kUniqueViolated = 1,
    kResourceBusy = 54,
    kDeadlock = 60,
    kInvalidSql = 900,
    kInvalidIdentifier = 904,
    kInconsistentTypes = 932,
    kTableMissing = 942,
    kNameInUse = 955,
    kInvalidCursor = 1001,
    kNullPassword = 1005,
    kBeyondSelectList = 1007,
    kMissingParameter = 1009,
    kNotLoggedOn = 1012,
    kCancelled = 1013,
    kBadLogon = 1017,
    kNoPrivilege = 1031,
    kStartupOrShutdown = 1033,
    kNoCreateSession = 1045,
    kCannotInsertNull = 1400,
    kNoRow = 1403,
    kNullFetched = 1405,
    kTruncated = 1406,
    kTooManyRows = 1422,
    kNumericOverflow = 1426,
    kIntegerOverflow = 1455,
    kDivideByZero = 1476,
    kInvalidNumber = 1722,
    kParentKeyMissing = 2291,
    kUnimplemented = 3001,
    kEndOfChannel = 3113,
    kNotConnected = 3114,
    kValueTooLarge = 12899,
    kUnresolvedIdentifier = 12154,
    kConnectTimeout = 12170,
    kUnknownService = 12514,
    kNoHandler = 12516,
    kNoListener = 12541,
    kProtocolError = 12560,
    kServerError = 20000,
};

// The error number for a server error's SQLSTATE (five characters); kServerError when
// the code has no closer match.
int errorForSqlState(std::string_view sqlState);

// The error number for a failed connection attempt, from libpq's message.
int errorForConnectFailure(std::string_view message);

// The short meaning of an error number, or an empty view for a number unknown here.
std::string_view errorMeaning(int error);

// "ORA-nnnnn: meaning" followed, when given, by ": " and the server's own message.
std::string errorText(int error, std::string_view serverMessage = {});

// Joins the lines of a libpq message into one and trims it.
std::string oneLine(std::string_view message);

// Replaces every occurrence of each secret (at least 3 bytes long) and every
// "password=..." value or URI password in text by "********".
std::string scrubSecrets(std::string text, const std::vector<std::string> &secrets);

} // namespace pgoci
