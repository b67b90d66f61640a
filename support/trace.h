// The diagnostic trace: on while the environment variable TAV_PT_TRACE is defined,
// whatever its value, looked up at every call. Each piece is one debug output write; a
// formatted piece is cut to 1023 characters. Safe from any thread.
#pragma once

#define DBG_PRINTF_LIKE(format_index, first_arg) \
    __attribute__((format(printf, format_index, first_arg)))

bool TraceIsOn();

// printf-style text as one piece.
void TracePrint(const char *format, ...) DBG_PRINTF_LIKE(1, 2);

// "\n->Enter(name)\n", then the formatted text as a second piece when format is not null.
void TraceEnter(const char *name, const char *format, ...) DBG_PRINTF_LIKE(2, 3);

// The formatted text when format is not null, then "\n<-Leaving(name)\n".
void TraceLeave(const char *name, const char *format, ...) DBG_PRINTF_LIKE(2, 3);

// A ready-made text (an error text) as one piece, never read as a format.
void TraceText(const char *text);
