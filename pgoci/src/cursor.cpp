#include "cursor.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "errors.h"
#include "function_code.h"
#include "type_codes.h"

namespace pgoci {

namespace {

// Converts one value text to a signed integer of the buffer's width (1, 2, 4 or 8
// bytes), cutting any fraction towards zero.
int storeInteger(const char *text, uint8_t *buffer, int length) {
    char *end = nullptr;
    errno = 0;
    long double value = std::strtold(text, &end);
    if (end == text || *end != '\0' || std::isnan(value)) return kInvalidNumber;
    value = std::trunc(value);
    auto fits = [value](auto type) {
        using T = decltype(type);
        return value >= static_cast<long double>(std::numeric_limits<T>::min()) &&
               value <= static_cast<long double>(std::numeric_limits<T>::max());
    };
    switch (length) {
    case 1: {
        if (!fits(int8_t{})) return kIntegerOverflow;
        int8_t v = static_cast<int8_t>(value);
        std::memcpy(buffer, &v, sizeof v);
        return 0;
    }
    case 2: {
        if (!fits(int16_t{})) return kIntegerOverflow;
        int16_t v = static_cast<int16_t>(value);
        std::memcpy(buffer, &v, sizeof v);
        return 0;
    }
    case 4: {
        if (!fits(int32_t{})) return kIntegerOverflow;
        int32_t v = static_cast<int32_t>(value);
        std::memcpy(buffer, &v, sizeof v);
        return 0;
    }
    default: {
        if (!fits(int64_t{})) return kIntegerOverflow;
        int64_t v = static_cast<int64_t>(value);
        std::memcpy(buffer, &v, sizeof v);
        return 0;
    }
    }
}

} // namespace

int Cursor::finish(OciDataArea &area, int error, const std::string &message) {
    area.rc = static_cast<uint16_t>(error);
    if (error) session_->noteError(error, errorText(error, message));
    return error;
}

int Cursor::failWith(OciDataArea &area, const Outcome &outcome) {
    if (outcome.errorPosition > 0)
        area.parseErrorOffset = static_cast<uint16_t>(
            std::min<uint32_t>(statement_.originalOffset(outcome.errorPosition), 0xFFFF));
    return finish(area, outcome.error, outcome.message);
}

int Cursor::parse(OciDataArea &area, std::string_view statement, bool deferred) {
    statement_ = bridgeStatement(statement);
    hasStatement_ = true;
    description_.reset();
    definitions_.clear();
    area.rowsProcessed = 0;
    area.parseErrorOffset = 0;
    StatementKind kind = classifyStatement(statement_.text);
    area.functionCode = static_cast<uint16_t>(kind.functionCode);
    if (deferred) return finish(area, 0);

    // Parse and analyse without executing; EXPLAIN (which plans but does not run the
    // statement) also checks the privileges.
    std::lock_guard lock(session_->mutex());
    Outcome described = session_->prepareAndDescribe(statement_.text);
    if (described.error) return failWith(area, described);
    if (kind.explainable) {
        static constexpr std::string_view kExplain = "EXPLAIN ";
        Outcome explained = session_->execute(std::string(kExplain) + statement_.text);
        if (explained.error) {
            if (explained.errorPosition > static_cast<int>(kExplain.size()))
                explained.errorPosition -= static_cast<int>(kExplain.size());
            else
                explained.errorPosition = 0;
            return failWith(area, explained);
        }
    }
    description_ = std::move(described.result);
    return finish(area, 0);
}

int Cursor::define(OciDataArea &area, int position, const ColumnDefinition &definition) {
    if (position < 1) return finish(area, kBeyondSelectList);
    if (!definition.buffer || definition.length <= 0) return finish(area, kMissingParameter);
    bool integerOk = definition.externalType == kExternalInteger &&
                     (definition.length == 1 || definition.length == 2 ||
                      definition.length == 4 || definition.length == 8);
    if (!integerOk && definition.externalType != kExternalString)
        return finish(area, kInconsistentTypes,
                      "external type " + std::to_string(definition.externalType) +
                          " with length " + std::to_string(definition.length) +
                          " is not supported");
    definitions_[position] = definition;
    return finish(area, 0);
}

int Cursor::describe(OciDataArea &area, int position, ColumnDescription &out) {
    if (!hasStatement_) return finish(area, kInvalidCursor, "no statement was parsed");
    if (!description_) {
        std::lock_guard lock(session_->mutex());
        Outcome described = session_->prepareAndDescribe(statement_.text);
        if (described.error) return failWith(area, described);
        description_ = std::move(described.result);
    }
    const PGresult *d = description_.get();
    if (position < 1 || position > PQnfields(d)) return finish(area, kBeyondSelectList);
    int column = position - 1;
    Oid type = PQftype(d, column);
    int modifier = PQfmod(d, column);
    out.dbType = static_cast<int16_t>(externalTypeCode(type));
    out.name = PQfname(d, column);
    describeSize(type, modifier, PQfsize(d, column), out.dbSize, out.precision, out.scale);
    out.displaySize = out.dbSize;
    out.nullOk = 1;
    return finish(area, 0);
}

int Cursor::deliverRows(const PGresult *result, unsigned rows) {
    int firstError = 0;
    int fields = PQnfields(result);
    for (const auto &[position, def] : definitions_)
        if (position > fields) return kBeyondSelectList;
    for (unsigned row = 0; row < rows; ++row) {
        for (const auto &[position, def] : definitions_) {
            int column = position - 1;
            uint8_t *target = def.buffer + static_cast<size_t>(row) * def.length;
            int16_t indicator = 0;
            uint16_t returnLength = 0;
            int code = 0;
            if (PQgetisnull(result, row, column)) {
                indicator = -1;
                if (!def.indicators) code = kNullFetched;
            } else {
                const char *value = PQgetvalue(result, row, column);
                size_t length = static_cast<size_t>(PQgetlength(result, row, column));
                if (def.externalType == kExternalInteger) {
                    code = storeInteger(value, target, def.length);
                    returnLength = code ? 0 : static_cast<uint16_t>(def.length);
                } else {
                    size_t room = static_cast<size_t>(def.length) - 1;
                    size_t copied = std::min(length, room);
                    std::memcpy(target, value, copied);
                    target[copied] = '\0';
                    returnLength = static_cast<uint16_t>(std::min<size_t>(copied, 0xFFFF));
                    if (copied < length) {
                        code = kTruncated;
                        indicator = static_cast<int16_t>(std::min<size_t>(length, 0x7FFF));
                    }
                }
            }
            if (def.indicators) def.indicators[row] = indicator;
            if (def.returnLengths) def.returnLengths[row] = returnLength;
            if (def.returnCodes) def.returnCodes[row] = static_cast<uint16_t>(code);
            if (code && !firstError) firstError = code;
        }
    }
    return firstError;
}

int Cursor::executeAndFetch(OciDataArea &area, unsigned rows, bool exact) {
    area.rowsProcessed = 0;
    if (!hasStatement_) return finish(area, kInvalidCursor, "no statement was parsed");
    Outcome outcome;
    {
        std::lock_guard lock(session_->mutex());
        outcome = session_->execute(statement_.text);
    }
    if (outcome.error) return failWith(area, outcome);
    const PGresult *result = outcome.result.get();
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
        const char *count = PQcmdTuples(const_cast<PGresult *>(result));
        area.rowsProcessed = static_cast<uint32_t>(std::strtoul(count, nullptr, 10));
        return finish(area, 0);
    }
    unsigned available = static_cast<unsigned>(PQntuples(result));
    unsigned delivered = std::min(available, rows);
    int error = deliverRows(result, delivered);
    if (error == kBeyondSelectList) {
        description_ = std::move(outcome.result);
        return finish(area, error);
    }
    area.rowsProcessed = delivered;
    if (rows > 0 && available == 0) error = kNoRow;
    else if (exact && available > rows) error = kTooManyRows;
    description_ = std::move(outcome.result);
    return finish(area, error);
}

} // namespace pgoci
