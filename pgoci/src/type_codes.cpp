#include "type_codes.h"

namespace pgoci {

namespace {

// Built-in type oids (fixed in every PostgreSQL catalog).
enum : Oid {
    kBool = 16, kBytea = 17, kChar = 18, kName = 19, kInt8 = 20, kInt2 = 21, kInt4 = 23,
    kText = 25, kOid = 26, kFloat4 = 700, kFloat8 = 701, kMoney = 790, kBpchar = 1042,
    kVarchar = 1043, kDate = 1082, kTimestamp = 1114, kTimestampTz = 1184,
    kInterval = 1186, kNumeric = 1700
};

struct TypeCode {
    Oid type;
    int code;
};

constexpr TypeCode kCodes[] = {
    {kInt2, 2},       {kInt4, 2},          {kInt8, 2},      {kOid, 2},
    {kFloat4, 2},     {kFloat8, 2},        {kNumeric, 2},   {kMoney, 2},
    {kText, 1},       {kVarchar, 1},       {kName, 1},      {kChar, 1},
    {kBpchar, 96},    {kDate, 12},         {kTimestamp, 180}, {kTimestampTz, 181},
    {kInterval, 183}, {kBytea, 23},        {kBool, 252},
};

} // namespace

int externalTypeCode(Oid type) {
    for (const auto &c : kCodes)
        if (c.type == type) return c.code;
    return 1;
}

void describeSize(Oid type, int modifier, int serverSize, int32_t &size, int16_t &precision,
                  int16_t &scale) {
    precision = 0;
    scale = 0;
    switch (type) {
    case kNumeric:
        size = 22;
        if (modifier >= 4) {
            precision = static_cast<int16_t>(((modifier - 4) >> 16) & 0xFFFF);
            scale = static_cast<int16_t>((modifier - 4) & 0xFFFF);
        }
        return;
    case kVarchar:
    case kBpchar:
        size = modifier >= 4 ? modifier - 4 : 4000;
        return;
    case kText:
        size = 4000;
        return;
    default:
        size = serverSize > 0 ? serverSize : 4000;
        if (externalTypeCode(type) == 2) size = 22;
        return;
    }
}

} // namespace pgoci
