// The load notice: a 4-byte message to a listener that may be waiting on a named pipe.
// A pipe name such as "\\.\pipe\{NAME}" is the FIFO "{NAME}" in $DBGAUGE_PIPE_DIR
// (default /tmp).
#pragma once

#include <string>

namespace platform {

std::string PipePath(const char *pipeName);

// Opens the FIFO write-only without blocking and, only if it is a FIFO with a reader,
// writes the 4 bytes of the descriptor number, least significant byte first. Nothing is
// created and nothing is reported when there is no listener. The descriptor stays open
// for the life of the process. Returns true when the 4 bytes were written.
bool SendPipeNotice(const char *pipeName);

} // namespace platform
