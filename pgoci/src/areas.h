// Ties the callers' data areas to the client's state. An open area carries a tag (a
// marker and a never-reused id) in its client-owned bytes; the state lives in a table
// keyed by that id, so a closed, copied-over or never-opened area is recognised and
// refused instead of being followed as a pointer.
#pragma once

#include <memory>

#include "cursor.h"
#include "oci7.h"
#include "session.h"

namespace pgoci {

void attachSession(OciDataArea &area, std::shared_ptr<Session> session);
void attachCursor(OciDataArea &area, std::shared_ptr<Cursor> cursor);

std::shared_ptr<Session> findSession(const OciDataArea &area);
std::shared_ptr<Cursor> findCursor(const OciDataArea &area);

// Removes the area's state and its tag; detaching a session also drops every cursor
// opened on it. Returns what was attached (null if nothing).
std::shared_ptr<Session> detachSession(OciDataArea &area);
std::shared_ptr<Cursor> detachCursor(OciDataArea &area);

} // namespace pgoci
