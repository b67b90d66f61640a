// The bridge from the classic dialect's spellings that PostgreSQL does not read:
//   - '#' inside an unquoted identifier becomes "_no" (STATISTIC# -> STATISTIC_no,
//     which folds to statistic_no; SERIAL# -> serial_no);
//   - NVL( becomes COALESCE( (unqualified calls only).
// DUAL needs no rewriting: it is a view in the dbgauge schema, on the search path.
// The statement is read as tokens: string literals, quoted identifiers, dollar-quoted
// text and comments pass through untouched.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pgoci {

struct BridgedStatement {
    std::string text;
    // origin[i]: offset in the original statement of byte i of text (one extra entry
    // for the end), so that server error positions map back to the caller's text.
    std::vector<uint32_t> origin;

    // The 0-based offset in the original statement of the server's 1-based character
    // position in text.
    uint32_t originalOffset(int serverPosition) const;
};

BridgedStatement bridgeStatement(std::string_view statement);

} // namespace pgoci
