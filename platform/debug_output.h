// Diagnostic output and user notices on a system without a debugger channel or a
// windowing system: everything goes to standard error.
#pragma once

namespace platform {

// Writes text unchanged to standard error with a single write call, so that pieces
// written from several threads never interleave inside one piece.
void OutputDebugText(const char *text);

// Shows an error to the user: one line "caption: text" on standard error. It does not
// wait for anybody.
void ShowMessageBox(const char *text, const char *caption);

// The wait cursor has no equivalent; the calls do nothing.
void BeginWaitCursor();
void EndWaitCursor();

} // namespace platform
