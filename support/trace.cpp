#include "support/trace.h"

#include "platform/debug_output.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr size_t kTraceBufferSize = 1024;

void OutputFormatted(const char *format, va_list args) {
    char buffer[kTraceBufferSize];
    // vsnprintf cuts to kTraceBufferSize - 1 characters and terminates.
    if (std::vsnprintf(buffer, sizeof buffer, format, args) < 0)
        return;
    platform::OutputDebugText(buffer);
}

void OutputNamed(const char *pattern, const char *name) {
    char buffer[kTraceBufferSize];
    std::snprintf(buffer, sizeof buffer, pattern, name ? name : "");
    platform::OutputDebugText(buffer);
}
} // namespace

bool TraceIsOn() { return std::getenv("TAV_PT_TRACE") != nullptr; }

void TracePrint(const char *format, ...) {
    if (!TraceIsOn() || format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    OutputFormatted(format, args);
    va_end(args);
}

void TraceEnter(const char *name, const char *format, ...) {
    if (!TraceIsOn())
        return;
    OutputNamed("\n->Enter(%s)\n", name);
    if (format != nullptr) {
        va_list args;
        va_start(args, format);
        OutputFormatted(format, args);
        va_end(args);
    }
}

void TraceLeave(const char *name, const char *format, ...) {
    if (!TraceIsOn())
        return;
    if (format != nullptr) {
        va_list args;
        va_start(args, format);
        OutputFormatted(format, args);
        va_end(args);
    }
    OutputNamed("\n<-Leaving(%s)\n", name);
}

void TraceText(const char *text) { TracePrint("%s", text ? text : ""); }
