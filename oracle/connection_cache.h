// The cache of open database sessions, one per distinct logon. Owned by MonitorState;
// its connections are shared with the sampling thread.
#pragma once

struct ConnectionCache {};
