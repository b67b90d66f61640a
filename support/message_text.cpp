#include "support/message_text.h"

#include "platform/catalogue.h"
#include "platform/paths.h"
#include "support/message_ids.h"

#include <cstdarg>
#include <cstring>
#include <string>

namespace {
// Hands a ready argument array to the catalogue as the va_list it expects.
int FormatWithList(unsigned flags, int id, char **out, ...) {
    va_list args;
    va_start(args, out);
    int result = FormatGenericMessage(0, -1, flags, id, &args, out);
    va_end(args);
    return result;
}
} // namespace

char *BuildMessageResourcePath(char *dst) {
    const std::string executableDir = platform::DirectoryOf(platform::ExecutablePath());
    const std::string path = platform::JoinPath(executableDir, "..\\dat\\pt_mon_dbgauge_msgs");
    CopyBounded(dst, path.c_str(), kResourcePathSize);
    return dst;
}

int FormatCatalogueMessageList(char *dst, int size, int id, const char *const *args,
                               size_t count) {
    if (dst == nullptr || size <= 0)
        return 0;
    // Up to nine arguments are passed on; a null pointer ends the list.
    const char *a[9] = {};
    for (size_t i = 0; i < count && i < 9 && args[i] != nullptr; ++i)
        a[i] = args[i];
    char *text = nullptr;
    FormatWithList(msg::FlagsFor(id), id, &text, a[0], a[1], a[2], a[3], a[4], a[5], a[6],
                   a[7], a[8], static_cast<const char *>(nullptr));
    int written = CopyBounded(dst, text ? text : "", size);
    FreeGenericMessage(text);
    return written;
}

int CopyBounded(char *dst, const char *text, long long size) {
    if (dst == nullptr || size <= 0)
        return 0;
    if (text == nullptr)
        text = "";
    size_t length = std::strlen(text);
    if (static_cast<unsigned long long>(length) > static_cast<unsigned long long>(size - 1))
        length = static_cast<size_t>(size - 1);
    std::memmove(dst, text, length);
    dst[length] = '\0';
    return static_cast<int>(length);
}

char *MessageBuffer() {
    thread_local char buffer[kMessageBufferSize];
    return buffer;
}

char *DescriptionBuffer() {
    static char buffer[kMessageBufferSize];
    return buffer;
}
