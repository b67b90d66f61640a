// The SQL function code of a statement, as the classic client reports it in the cursor
// data area (4 for a query, 3 INSERT, 5 UPDATE, 9 DELETE, ...).
#pragma once

#include <string_view>

namespace pgoci {

struct StatementKind {
    int functionCode = 0; // 0: a statement with no classic code
    bool explainable = false; // EXPLAIN accepts it, so privileges can be checked
};

StatementKind classifyStatement(std::string_view statement);

} // namespace pgoci
