// Single-value queries. Each call opens its own cursor, runs the statement unchanged and
// closes the cursor; nothing is prepared or kept between calls.
#pragma once

#include <cstddef>

class OracleConnection;

inline constexpr size_t kQueryErrorSize = 1024;

// Column 1 of row 1 as a 32-bit integer, or -1 when no value was fetched (failed
// statement, no row, NULL). Reports no error.
int SingleIntQuery(OracleConnection &connection, const char *statement);

// Column 1 of row 1 as a double. On failure errorBuffer (kQueryErrorSize bytes) receives
// the client's error text, or message -95017 for a NULL value; on success it is left as
// it was. The value is always converted from the fetched text, which is preset to "2.2":
// a failed fetch therefore yields 2.2 with its error text.
double GetQueryValue(OracleConnection &connection, char *errorBuffer, const char *statement);
