#include "platform/debug_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace platform {

namespace {
void WriteWhole(const char *data, size_t length) {
    while (length > 0) {
        ssize_t written = write(STDERR_FILENO, data, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        length -= static_cast<size_t>(written);
    }
}
} // namespace

void OutputDebugText(const char *text) {
    if (text != nullptr)
        WriteWhole(text, std::strlen(text));
}

void ShowMessageBox(const char *text, const char *caption) {
    std::string line = caption ? caption : "";
    line += ": ";
    line += text ? text : "";
    line += '\n';
    WriteWhole(line.data(), line.size());
}

void BeginWaitCursor() {}
void EndWaitCursor() {}

} // namespace platform
