// The ten exported calls: argument checks, the data areas' rc, and no exception ever
// leaving the library.
#include <cstring>
#include <string>

#include "areas.h"
#include "errors.h"
#include "oci7.h"

#define PGOCI_EXPORT extern "C" __attribute__((visibility("default")))

namespace pgoci {
namespace {

std::string text(const char *s, int length) {
    if (!s) return {};
    return length < 0 ? std::string(s) : std::string(s, static_cast<size_t>(length));
}

int setRc(OciDataArea *area, int error) {
    if (area) area->rc = static_cast<uint16_t>(error);
    return error;
}

// Runs body, turning any exception into an error on the area.
template <typename Body> int guarded(OciDataArea *area, Body body) {
    try {
        return body();
    } catch (...) {
        return setRc(area, kServerError);
    }
}

} // namespace
} // namespace pgoci

using namespace pgoci;

PGOCI_EXPORT int opinit(int) { return 0; }

PGOCI_EXPORT int olog(OciDataArea *lda, unsigned char *, const char *user, int userLength,
                      const char *password, int passwordLength, const char *connectString,
                      int connectLength, unsigned) {
    if (!lda) return kMissingParameter;
    return guarded(lda, [&] {
        // A logon area still holding a session is logged off first, so nothing leaks.
        if (auto previous = detachSession(*lda)) {
            std::lock_guard lock(previous->mutex());
            previous->close();
        }
        Outcome outcome;
        auto session = Session::logOn(text(user, userLength), text(password, passwordLength),
                                      text(connectString, connectLength), outcome);
        attachSession(*lda, session);
        return setRc(lda, outcome.error);
    });
}

PGOCI_EXPORT int ologof(OciDataArea *lda) {
    if (!lda) return kMissingParameter;
    return guarded(lda, [&] {
        auto session = detachSession(*lda);
        if (!session) return setRc(lda, kNotLoggedOn);
        std::lock_guard lock(session->mutex());
        session->close();
        return setRc(lda, 0);
    });
}

PGOCI_EXPORT int oopen(OciDataArea *cursor, OciDataArea *lda, const char *, int, int,
                       const char *, int) {
    if (!cursor) return kMissingParameter;
    return guarded(cursor, [&] {
        detachCursor(*cursor); // reopening an open cursor area replaces its cursor
        std::shared_ptr<Session> session = lda ? findSession(*lda) : nullptr;
        if (!session) return setRc(cursor, kNotLoggedOn);
        cursor->functionCode = 0;
        cursor->rowsProcessed = 0;
        cursor->parseErrorOffset = 0;
        attachCursor(*cursor, std::make_shared<Cursor>(session));
        return setRc(cursor, 0);
    });
}

PGOCI_EXPORT int oclose(OciDataArea *cursor) {
    if (!cursor) return kMissingParameter;
    return guarded(cursor, [&] {
        return setRc(cursor, detachCursor(*cursor) ? 0 : kInvalidCursor);
    });
}

PGOCI_EXPORT int oparse(OciDataArea *cursor, const char *statement, int statementLength,
                        int deferred, unsigned) {
    if (!cursor) return kMissingParameter;
    return guarded(cursor, [&] {
        auto c = findCursor(*cursor);
        if (!c) return setRc(cursor, kInvalidCursor);
        if (!statement) return setRc(cursor, kMissingParameter);
        std::lock_guard lock(c->mutex());
        return c->parse(*cursor, text(statement, statementLength), deferred != 0);
    });
}

PGOCI_EXPORT int odefin(OciDataArea *cursor, int position, void *buffer, int bufferLength,
                        int externalType, int, int16_t *indicators, const char *, int, int,
                        uint16_t *returnLengths, uint16_t *returnCodes) {
    if (!cursor) return kMissingParameter;
    return guarded(cursor, [&] {
        auto c = findCursor(*cursor);
        if (!c) return setRc(cursor, kInvalidCursor);
        ColumnDefinition def{static_cast<uint8_t *>(buffer), bufferLength, externalType,
                             indicators, returnLengths, returnCodes};
        std::lock_guard lock(c->mutex());
        return c->define(*cursor, position, def);
    });
}

PGOCI_EXPORT int oexfet(OciDataArea *cursor, unsigned rows, int, int exact) {
    if (!cursor) return kMissingParameter;
    return guarded(cursor, [&] {
        auto c = findCursor(*cursor);
        if (!c) return setRc(cursor, kInvalidCursor);
        std::lock_guard lock(c->mutex());
        return c->executeAndFetch(*cursor, rows, exact != 0);
    });
}

PGOCI_EXPORT int odescr(OciDataArea *cursor, int position, int32_t *dbSize, int16_t *dbType,
                        char *name, int32_t *nameLength, int32_t *displaySize,
                        int16_t *precision, int16_t *scale, int16_t *nullOk) {
    if (!cursor) return kMissingParameter;
    return guarded(cursor, [&] {
        auto c = findCursor(*cursor);
        if (!c) return setRc(cursor, kInvalidCursor);
        ColumnDescription d;
        int error;
        {
            std::lock_guard lock(c->mutex());
            error = c->describe(*cursor, position, d);
        }
        if (error) return error;
        if (dbSize) *dbSize = d.dbSize;
        if (dbType) *dbType = d.dbType;
        if (displaySize) *displaySize = d.displaySize;
        if (precision) *precision = d.precision;
        if (scale) *scale = d.scale;
        if (nullOk) *nullOk = d.nullOk;
        // nameLength: in, the size of name; out, the length of the name written.
        if (nameLength) {
            size_t room = name && *nameLength > 0 ? static_cast<size_t>(*nameLength) : 0;
            size_t copied = std::min(room, d.name.size());
            if (copied) std::memcpy(name, d.name.data(), copied);
            *nameLength = static_cast<int32_t>(copied);
        }
        return 0;
    });
}

PGOCI_EXPORT int oerhms(OciDataArea *lda, int rcode, char *buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) return 0;
    try {
        std::string message;
        std::shared_ptr<Session> session;
        if (lda) {
            session = findSession(*lda);
            if (!session)
                if (auto cursor = findCursor(*lda)) session = cursor->session();
        }
        if (!session || !session->lastErrorText(rcode, message)) message = errorText(rcode);
        size_t copied = std::min(message.size(), static_cast<size_t>(bufferSize) - 1);
        std::memcpy(buffer, message.data(), copied);
        buffer[copied] = '\0';
        return static_cast<int>(copied);
    } catch (...) {
        buffer[0] = '\0';
        return 0;
    }
}
