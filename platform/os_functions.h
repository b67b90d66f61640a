// Portability functions: module directory, clock, integer text and string compares.
#pragma once

#include <cstdint>

// Writes the directory of the library that holds this code, without a trailing
// separator, into dst (size bytes, cut and terminated). name is ignored (callers pass
// ""). Returns 0, or -1 when the directory does not fit or dst is unusable.
int os_get_my_module_dir_name(const char *name, char *dst, unsigned size);

// Fills time[0] with whole seconds and time[1] with microseconds (0 to 999999) of the
// current time. The second argument is ignored. Returns 0.
int os_gettimeofday(int32_t time[2], void *unused);

// Milliseconds since an arbitrary fixed point; only differences are meaningful. Wraps
// around after 2^32 milliseconds.
uint32_t os_millisec_from_start_of_run();

// Decimal (or any radix from 2 to 36) text of value in buffer, which must hold 34 bytes.
char *os_itoa(int value, char *buffer, int radix);

int os_strcmp(const char *a, const char *b);
int os_stricmp(const char *a, const char *b);
char *os_strchr(const char *text, int character);

namespace platform {
// For tests: replaces the clock behind os_gettimeofday (null restores the real one).
// Not exported from the shared library.
using TimeSource = void (*)(int32_t time[2]);
void SetTimeSourceForTesting(TimeSource source);
} // namespace platform
