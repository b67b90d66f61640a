#include "areas.h"

#include <cstring>
#include <map>
#include <mutex>

namespace pgoci {

namespace {

constexpr uint32_t kSessionMarker = 0x4C50474Fu; // "OGPL"
constexpr uint32_t kCursorMarker = 0x43504743u;  // "CGPC"
constexpr size_t kTagOffset = 2;                 // within clientPrivate, 8-byte aligned area

struct Tag {
    uint32_t marker;
    uint32_t pad;
    uint64_t id;
};
static_assert(kTagOffset + sizeof(Tag) <= sizeof(OciDataArea::clientPrivate));

Tag readTag(const OciDataArea &area) {
    Tag tag;
    std::memcpy(&tag, area.clientPrivate + kTagOffset, sizeof tag);
    return tag;
}

void writeTag(OciDataArea &area, uint32_t marker, uint64_t id) {
    Tag tag{marker, 0, id};
    std::memcpy(area.clientPrivate + kTagOffset, &tag, sizeof tag);
}

struct Table {
    std::mutex mutex;
    uint64_t nextId = 1;
    std::map<uint64_t, std::shared_ptr<Session>> sessions;
    std::map<uint64_t, std::shared_ptr<Cursor>> cursors;
};

Table &table() {
    static Table t;
    return t;
}

template <typename T>
std::shared_ptr<T> find(const std::map<uint64_t, std::shared_ptr<T>> &map,
                        const OciDataArea &area, uint32_t marker) {
    Tag tag = readTag(area);
    if (tag.marker != marker) return nullptr;
    auto it = map.find(tag.id);
    return it == map.end() ? nullptr : it->second;
}

} // namespace

void attachSession(OciDataArea &area, std::shared_ptr<Session> session) {
    Table &t = table();
    std::lock_guard lock(t.mutex);
    uint64_t id = t.nextId++;
    t.sessions.emplace(id, std::move(session));
    writeTag(area, kSessionMarker, id);
}

void attachCursor(OciDataArea &area, std::shared_ptr<Cursor> cursor) {
    Table &t = table();
    std::lock_guard lock(t.mutex);
    uint64_t id = t.nextId++;
    t.cursors.emplace(id, std::move(cursor));
    writeTag(area, kCursorMarker, id);
}

std::shared_ptr<Session> findSession(const OciDataArea &area) {
    Table &t = table();
    std::lock_guard lock(t.mutex);
    return find(t.sessions, area, kSessionMarker);
}

std::shared_ptr<Cursor> findCursor(const OciDataArea &area) {
    Table &t = table();
    std::lock_guard lock(t.mutex);
    return find(t.cursors, area, kCursorMarker);
}

std::shared_ptr<Session> detachSession(OciDataArea &area) {
    Table &t = table();
    std::lock_guard lock(t.mutex);
    auto session = find(t.sessions, area, kSessionMarker);
    if (!session) return nullptr;
    t.sessions.erase(readTag(area).id);
    for (auto it = t.cursors.begin(); it != t.cursors.end();)
        it = it->second->session() == session ? t.cursors.erase(it) : std::next(it);
    writeTag(area, 0, 0);
    return session;
}

std::shared_ptr<Cursor> detachCursor(OciDataArea &area) {
    Table &t = table();
    std::lock_guard lock(t.mutex);
    auto cursor = find(t.cursors, area, kCursorMarker);
    if (!cursor) return nullptr;
    t.cursors.erase(readTag(area).id);
    writeTag(area, 0, 0);
    return cursor;
}

} // namespace pgoci
