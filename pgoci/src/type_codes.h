// Data type codes of described columns, from PostgreSQL type oids: 2 for every numeric
// type, 1 for text (and every type the server prints as text), 96 for blank-padded
// character, 12 date, 180 timestamp, 181 timestamp with time zone, 183 interval,
// 23 raw bytes, 252 boolean.
#pragma once

#include <cstdint>
#include <libpq-fe.h>

namespace pgoci {

enum { kExternalInteger = 3, kExternalString = 5 };

int externalTypeCode(Oid type);

// Size in bytes, precision and scale of a column as the classic describe reports them.
void describeSize(Oid type, int modifier, int serverSize, int32_t &size, int16_t &precision,
                  int16_t &scale);

} // namespace pgoci
