// One open cursor on a session: the parsed statement, the output buffers defined for its
// columns, and the description of its select list.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "bridge.h"
#include "oci7.h"
#include "session.h"

namespace pgoci {

struct ColumnDefinition {
    uint8_t *buffer = nullptr;
    int length = 0; // also the stride between rows of an array fetch
    int externalType = 0;
    int16_t *indicators = nullptr;
    uint16_t *returnLengths = nullptr;
    uint16_t *returnCodes = nullptr;
};

struct ColumnDescription {
    int32_t dbSize = 0;
    int16_t dbType = 0;
    std::string name;
    int32_t displaySize = 0;
    int16_t precision = 0;
    int16_t scale = 0;
    int16_t nullOk = 1;
};

class Cursor {
public:
    explicit Cursor(std::shared_ptr<Session> session) : session_(std::move(session)) {}

    const std::shared_ptr<Session> &session() const { return session_; }
    std::mutex &mutex() { return mutex_; }

    // Each returns the error number, also stored in the area's rc (call with mutex()).
    int parse(OciDataArea &area, std::string_view statement, bool deferred);
    int define(OciDataArea &area, int position, const ColumnDefinition &definition);
    int describe(OciDataArea &area, int position, ColumnDescription &out);
    int executeAndFetch(OciDataArea &area, unsigned rows, bool exact);

private:
    int finish(OciDataArea &area, int error, const std::string &message = {});
    int failWith(OciDataArea &area, const Outcome &outcome);
    int deliverRows(const PGresult *result, unsigned rows);

    std::shared_ptr<Session> session_;
    std::mutex mutex_;
    bool hasStatement_ = false;
    BridgedStatement statement_;
    ResultPtr description_; // column descriptions of the statement, once known
    std::map<int, ColumnDefinition> definitions_;
};

} // namespace pgoci
